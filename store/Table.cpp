// Table cursors: opening with checks, reading on demand (browsing) or the whole file
// (authoring), and the authoring writes.
#include "store/Table.h"

#include <algorithm>

namespace store {

Table::Table(std::string name) : DataSet(std::move(name)) {}

Table::~Table() = default;

std::filesystem::path Table::FilePath() const
{
    std::filesystem::path file = std::filesystem::u8path(m_tableName);
    return m_databaseName.empty() ? file : m_databaseName / file;
}

void Table::Open()
{
    if (m_active)
        return;
    if (m_tableName.empty())
        throw TableError(m_name + ": テーブル名がありません");
    // A read-only table of the working directory is a delivered volume's: browsed, never
    // written; one in a directory of its own belongs to the authoring copy.
    const TableAccess access = !m_readOnly               ? TableAccess::Write
                               : m_databaseName.empty() ? TableAccess::Browse
                                                        : TableAccess::Read;
    auto file = TableFile::open(FilePath(), access);
    for (const auto& required : m_requiredFields) {
        bool found = std::any_of(file->fields().begin(), file->fields().end(),
                                 [&](const FieldDef& f) { return sameFieldName(f.name, required); });
        if (!found)
            throw TableError("テーブル " + m_tableName + " に項目 " + required + " がありません");
    }
    m_state = State::Browse;
    if (m_readOnly) {
        // Opening reads the schema only; rows are read as the cursor and its grid need them.
        setOnDemandRows(std::make_unique<OnDemandRows>(std::move(file)));
        activate();
        return;
    }
    TableContents contents = file->readAll();
    m_file = std::move(file);
    m_rowIds = std::move(contents.rowIds);
    setContents(std::move(contents.fields), std::move(contents.rows));
    m_state = State::Browse;
    activate();
}

void Table::Close()
{
    m_file.reset();
    m_rowIds.clear();
    m_state = State::Browse;
    DataSet::Close();
}

void Table::Refresh()
{
    if (!m_active)
        return;
    if (readsOnDemand()) {
        forgetFetchedRows();
        activate(true);
        return;
    }
    if (!m_file)
        return;
    TableContents contents = m_file->readAll();
    std::int64_t currentId = currentRowIndex() >= 0 ? m_rowIds[static_cast<std::size_t>(currentRowIndex())] : -1;
    m_rowIds = std::move(contents.rowIds);
    m_rows = std::move(contents.rows);
    bumpGeneration();
    rebuildView();
    // Stay on the same row if it is still there.
    m_pos = 0;
    for (int p = 0; p < RecordCount(); ++p)
        if (m_rowIds[static_cast<std::size_t>(m_view[static_cast<std::size_t>(p)])] == currentId)
            m_pos = p;
    activate(true);
}

void Table::Append()
{
    if (!m_active)
        throw TableError(m_name + " は開かれていません");
    if (m_readOnly)
        throw TableError("テーブル " + m_tableName + " は読み取り専用です");
    CheckBrowseMode();
    m_buffer.assign(m_fieldDefs.size(), Value());
    m_editRow = -1;
    m_state = State::Insert;
}

void Table::Edit()
{
    if (!m_active)
        throw TableError(m_name + " は開かれていません");
    if (m_readOnly)
        throw TableError("テーブル " + m_tableName + " は読み取り専用です");
    if (m_state != State::Browse)
        return;
    int row = currentRowIndex();
    if (row < 0)
        throw TableError("テーブル " + m_tableName + " に編集する行がありません");
    m_buffer = m_rows[static_cast<std::size_t>(row)];
    m_buffer.resize(m_fieldDefs.size());
    m_editRow = row;
    m_state = State::Edit;
}

void Table::SetFieldValue(std::string_view field, Value value)
{
    if (m_state == State::Browse)
        throw TableError("テーブル " + m_tableName + " は編集状態ではありません");
    int f = resolveField(field);
    // Integer fields take numerals given as text, as the grid editors hand them over.
    if (m_fieldDefs[static_cast<std::size_t>(f)].type == FieldType::Integer && value.isText()) {
        auto n = Value::parseInteger(value.asText());
        if (!n && !value.asText().empty())
            throw TableError("項目 " + std::string(field) + " には整数を入れてください");
        value = n ? Value(*n) : Value();
    }
    m_buffer[static_cast<std::size_t>(f)] = std::move(value);
}

Value Table::FieldValueForEdit(std::string_view field) const
{
    if (m_state == State::Browse)
        return FieldValue(field);
    return m_buffer[static_cast<std::size_t>(resolveField(field))];
}

void Table::Post()
{
    postBuffer(true);
}

void Table::CheckBrowseMode()
{
    if (m_state == State::Edit) {
        // A row left as it was is not written again: walking through rows costs no writes.
        Row original = m_rows[static_cast<std::size_t>(m_editRow)];
        original.resize(m_fieldDefs.size());
        if (original == m_buffer) {
            Cancel();
            return;
        }
    }
    if (m_state != State::Browse)
        postBuffer(false);
}

void Table::postBuffer(bool afterScroll)
{
    if (m_state == State::Browse)
        return;
    std::int64_t id;
    int rowIndex;
    if (m_state == State::Insert) {
        id = m_file->insert(m_buffer);
        m_rows.push_back(m_buffer);
        m_rowIds.push_back(id);
        rowIndex = static_cast<int>(m_rows.size()) - 1;
    } else {
        id = m_rowIds[static_cast<std::size_t>(m_editRow)];
        m_file->update(id, m_buffer);
        m_rows[static_cast<std::size_t>(m_editRow)] = m_buffer;
        rowIndex = m_editRow;
    }
    m_state = State::Browse;
    m_buffer.clear();
    m_editRow = -1;
    bumpGeneration();
    rebuildView();
    m_pos = 0;
    auto it = std::find(m_view.begin(), m_view.end(), rowIndex);
    if (it != m_view.end())
        m_pos = static_cast<int>(it - m_view.begin());
    if (afterScroll) {
        activate(true);
        return;
    }
    m_bof = m_pos == 0;
    m_eof = m_view.empty();
    notifySources(DataEvent::DataSetChanged);
}

void Table::SetFieldOfRows(std::string_view field, const std::vector<std::pair<int, Value>>& changes)
{
    if (!m_active)
        throw TableError(m_name + " は開かれていません");
    if (m_readOnly)
        throw TableError("テーブル " + m_tableName + " は読み取り専用です");
    CheckBrowseMode();
    const int f = resolveField(field);
    std::vector<std::pair<std::int64_t, Row>> written;
    std::vector<int> rowIndexes;
    for (const auto& [position, value] : changes) {
        if (position < 0 || position >= RecordCount())
            throw TableError("テーブル " + m_tableName + " に行 " + std::to_string(position + 1) + " がありません");
        const int rowIndex = m_view[static_cast<std::size_t>(position)];
        Row row = m_rows[static_cast<std::size_t>(rowIndex)];
        row.resize(m_fieldDefs.size());
        row[static_cast<std::size_t>(f)] = value;
        written.emplace_back(m_rowIds[static_cast<std::size_t>(rowIndex)], std::move(row));
        rowIndexes.push_back(rowIndex);
    }
    if (written.empty())
        return;
    m_file->updateRows(written);
    for (std::size_t i = 0; i < written.size(); ++i)
        m_rows[static_cast<std::size_t>(rowIndexes[i])] = std::move(written[i].second);
    bumpGeneration();
    activate(true);
}

void Table::Cancel()
{
    m_state = State::Browse;
    m_buffer.clear();
    m_editRow = -1;
}

void Table::Delete()
{
    if (!m_active)
        throw TableError(m_name + " は開かれていません");
    if (m_readOnly)
        throw TableError("テーブル " + m_tableName + " は読み取り専用です");
    int row = currentRowIndex();
    if (row < 0)
        throw TableError("テーブル " + m_tableName + " に削除する行がありません");
    m_file->remove(m_rowIds[static_cast<std::size_t>(row)]);
    int pos = m_pos;
    m_rows.erase(m_rows.begin() + row);
    m_rowIds.erase(m_rowIds.begin() + row);
    m_state = State::Browse;
    bumpGeneration();
    rebuildView();
    // The cursor moves to the row after the deleted one, or to the new last row.
    m_pos = std::min(pos, std::max(0, RecordCount() - 1));
    activate(true);
}

}  // namespace store
