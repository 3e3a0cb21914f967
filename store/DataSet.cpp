// The shared cursor: view building (order, master range, filter), moves and notifications, over
// rows in memory or rows read from the file on demand.
#include "store/DataSet.h"

#include <algorithm>
#include <cctype>

#include "text/Cp932.h"

namespace store {

bool sameFieldName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::vector<std::string> splitFieldNames(const std::string& names)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= names.size()) {
        std::size_t end = names.find(';', start);
        if (end == std::string::npos)
            end = names.size();
        std::string part = names.substr(start, end - start);
        while (!part.empty() && part.front() == ' ')
            part.erase(part.begin());
        while (!part.empty() && part.back() == ' ')
            part.pop_back();
        if (!part.empty())
            out.push_back(part);
        start = end + 1;
    }
    return out;
}

DataSet::DataSet(std::string name) : m_name(std::move(name)) {}

DataSet::~DataSet()
{
    if (m_masterSource) {
        m_masterSource->unsubscribe(m_masterSubscription);
        m_masterSource->removeDetail(this);
    }
    auto sources = m_sources;
    for (DataSource* s : sources)
        s->dataSetDestroyed();
}

void DataSet::attachSource(DataSource* source)
{
    if (std::find(m_sources.begin(), m_sources.end(), source) == m_sources.end())
        m_sources.push_back(source);
}

void DataSet::detachSource(DataSource* source)
{
    m_sources.erase(std::remove(m_sources.begin(), m_sources.end(), source), m_sources.end());
}

void DataSet::Close()
{
    if (!m_active && m_rows.empty() && !m_demand)
        return;
    m_active = false;
    m_rows.clear();
    m_view.clear();
    m_demand.reset();
    m_current.reset();
    m_ahead.clear();
    m_viewIds.clear();
    m_positioned = false;
    m_pos = 0;
    m_bof = m_eof = true;
    bumpGeneration();
    notifySources(DataEvent::DataSetChanged);
}

void DataSet::setContents(std::vector<FieldDef> fields, std::vector<Row> rows)
{
    m_demand.reset();
    m_fieldDefs = std::move(fields);
    m_rows = std::move(rows);
    bumpGeneration();
}

void DataSet::setOnDemandRows(std::unique_ptr<OnDemandRows> rows)
{
    m_fieldDefs = rows->fields();
    m_rows.clear();
    m_view.clear();
    m_demand = std::move(rows);
    bumpGeneration();
}

void DataSet::forgetFetchedRows()
{
    if (m_demand)
        m_demand->forgetRows();
    bumpGeneration();
}

void DataSet::resetDemandView()
{
    std::vector<int> orderCols = m_indexFieldNames.empty() ? std::vector<int>{} : fieldIndexes(m_indexFieldNames);
    std::vector<int> rangeCols;
    std::vector<Value> rangeValues;
    bool none = false;
    if (m_masterSource && !m_masterFields.empty()) {
        // As in memory: the detail's key fields are its index fields, or else fields of the
        // master's names.
        auto masterNames = splitFieldNames(m_masterFields);
        DataSet* master = m_masterSource->dataSet();
        const bool masterHasRow = master && master->Active() && !master->IsEmpty();
        none = !masterHasRow;
        for (std::size_t k = 0; k < masterNames.size(); ++k) {
            rangeCols.push_back(k < orderCols.size() ? orderCols[k] : resolveField(masterNames[k]));
            if (masterHasRow)
                rangeValues.push_back(master->FieldValue(masterNames[k]));
        }
    }
    m_demand->setView(std::move(orderCols), std::move(rangeCols), std::move(rangeValues), none);
    m_current.reset();
    m_ahead.clear();
    m_aheadChunk = 0;
    m_viewIds.clear();
    m_positioned = false;
    m_pos = 0;
}

OnDemandRows::Accept DataSet::demandFilter() const
{
    if (!m_filtered || !m_filter)
        return {};
    return [this](const Row& row) {
        return m_filter->matches([&](const std::string& field) { return valueOfRow(row, resolveField(field)); });
    };
}

void DataSet::positionView() const
{
    if (!m_demand || m_positioned || !m_active)
        return;
    std::vector<int> needed;
    if (m_filtered && m_filter) {
        std::vector<std::string> names;
        m_filter->collectFields(names);
        for (const auto& n : names) {
            const int f = resolveField(n);
            if (!computedField(f))
                needed.push_back(f);
            else  // a computed field may read any of the row's own fields
                for (int c = 0; c < static_cast<int>(m_fieldDefs.size()); ++c)
                    if (!computedField(c))
                        needed.push_back(c);
        }
    }
    m_viewIds = m_demand->rowIds(needed, demandFilter());
    m_positioned = true;
    m_ahead.clear();
    m_pos = 0;
    if (m_current) {
        auto it = std::find(m_viewIds.begin(), m_viewIds.end(), m_current->rowId);
        if (it != m_viewIds.end())
            m_pos = static_cast<int>(it - m_viewIds.begin());
    }
}

void DataSet::demandGoTo(int pos)
{
    const std::int64_t id = m_viewIds[static_cast<std::size_t>(pos)];
    m_pos = pos;
    m_current = FetchedRow{id, m_demand->rowOf(id)};
}

bool DataSet::IsEmpty() const
{
    if (m_demand)
        return m_positioned ? m_viewIds.empty() : !m_current;
    return m_view.empty();
}

int DataSet::RecordCount() const
{
    if (m_demand) {
        positionView();
        return static_cast<int>(m_viewIds.size());
    }
    return static_cast<int>(m_view.size());
}

int DataSet::RecNo() const
{
    if (IsEmpty())
        return -1;
    if (m_demand && m_pos < 0)
        positionView();
    return m_pos;
}

void DataSet::activate(bool keepRow)
{
    if (m_demand) {
        const std::optional<std::int64_t> keep =
            keepRow && m_current ? std::optional<std::int64_t>(m_current->rowId) : std::nullopt;
        m_active = true;
        resetDemandView();
        if (keep) {
            positionView();
            auto it = std::find(m_viewIds.begin(), m_viewIds.end(), *keep);
            if (it != m_viewIds.end())
                demandGoTo(static_cast<int>(it - m_viewIds.begin()));
        }
        if (!m_current) {
            if (m_positioned) {
                if (!m_viewIds.empty())
                    demandGoTo(0);
            } else {
                auto first = m_demand->rowsAfter(nullptr, 1, demandFilter());
                if (!first.empty())
                    m_current = std::move(first.front());
            }
            m_pos = 0;
        }
        m_bof = m_pos == 0;
        m_eof = IsEmpty();
        notifySources(DataEvent::DataSetChanged);
        raiseAfterScroll();
        return;
    }
    int keep = keepRow ? currentRowIndex() : -1;
    m_active = true;
    rebuildView();
    m_pos = 0;
    if (keep >= 0) {
        auto it = std::find(m_view.begin(), m_view.end(), keep);
        if (it != m_view.end())
            m_pos = static_cast<int>(it - m_view.begin());
    }
    m_bof = m_pos == 0;
    m_eof = m_view.empty();
    notifySources(DataEvent::DataSetChanged);
    raiseAfterScroll();
}

int DataSet::FieldIndex(std::string_view name) const
{
    for (std::size_t i = 0; i < m_fieldDefs.size(); ++i)
        if (sameFieldName(m_fieldDefs[i].name, name))
            return static_cast<int>(i);
    return -1;
}

int DataSet::resolveField(std::string_view name) const
{
    int i = FieldIndex(name);
    if (i < 0)
        throw TableError("項目 " + std::string(name) + " が " + m_name + " にありません");
    return i;
}

std::vector<int> DataSet::fieldIndexes(const std::string& names) const
{
    std::vector<int> out;
    for (const auto& n : splitFieldNames(names))
        out.push_back(resolveField(n));
    return out;
}

Value DataSet::valueOf(int rowIndex, int fieldIndex) const
{
    const Row& row = m_rows[static_cast<std::size_t>(rowIndex)];
    return static_cast<std::size_t>(fieldIndex) < row.size() ? row[static_cast<std::size_t>(fieldIndex)] : Value();
}

Value DataSet::valueOfRow(const Row& row, int fieldIndex) const
{
    return static_cast<std::size_t>(fieldIndex) < row.size() ? row[static_cast<std::size_t>(fieldIndex)] : Value();
}

void DataSet::releaseOnDemandRows()
{
    m_current.reset();
    m_ahead.clear();
    m_viewIds.clear();
    m_positioned = false;
    m_demand.reset();
}

Value DataSet::FieldValue(std::string_view name) const
{
    int f = resolveField(name);
    if (m_demand) {
        if (!m_active || !m_current)
            return Value();
        return valueOfRow(m_current->row, f);
    }
    int row = currentRowIndex();
    if (!m_active || row < 0)
        return Value();
    return valueOf(row, f);
}

std::vector<std::string> DataSet::MemoLines(std::string_view name) const
{
    return text::splitLines(TextField(name));
}

Value DataSet::ValueAt(int recNo, int fieldIndex) const
{
    if (m_demand) {
        if (!m_active || recNo < 0 || recNo >= RecordCount() || fieldIndex < 0 ||
            fieldIndex >= static_cast<int>(m_fieldDefs.size()))
            return Value();
        return valueOfRow(m_demand->rowOf(m_viewIds[static_cast<std::size_t>(recNo)]), fieldIndex);
    }
    if (recNo < 0 || recNo >= RecordCount() || fieldIndex < 0 || fieldIndex >= static_cast<int>(m_fieldDefs.size()))
        return Value();
    return valueOf(m_view[static_cast<std::size_t>(recNo)], fieldIndex);
}

void DataSet::rebuildView()
{
    m_view.clear();
    if (!m_active)
        return;
    std::vector<int> order(m_rows.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);

    std::vector<int> indexCols;
    if (!m_indexFieldNames.empty()) {
        indexCols = fieldIndexes(m_indexFieldNames);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            for (int c : indexCols) {
                int r = Value::compare(valueOf(a, c), valueOf(b, c));
                if (r != 0)
                    return r < 0;
            }
            return false;
        });
    }

    // The master range: the detail's key fields are its index fields, or else fields of the
    // master's names.
    bool ranged = m_masterSource && !m_masterFields.empty();
    std::vector<int> detailCols;
    std::vector<Value> masterValues;
    bool masterHasRow = false;
    if (ranged) {
        auto masterNames = splitFieldNames(m_masterFields);
        DataSet* master = m_masterSource->dataSet();
        masterHasRow = master && master->Active() && !master->IsEmpty();
        for (std::size_t k = 0; k < masterNames.size(); ++k) {
            if (k < indexCols.size())
                detailCols.push_back(indexCols[k]);
            else
                detailCols.push_back(resolveField(masterNames[k]));
            if (masterHasRow)
                masterValues.push_back(master->FieldValue(masterNames[k]));
        }
    }

    for (int r : order) {
        if (ranged) {
            if (!masterHasRow)
                break;
            bool equal = true;
            for (std::size_t k = 0; k < detailCols.size() && equal; ++k) {
                Value mine = valueOf(r, detailCols[k]);
                const Value& theirs = masterValues[k];
                equal = (mine.isText() || theirs.isText()) ? mine.asText() == theirs.asText()
                                                            : Value::compare(mine, theirs) == 0;
            }
            if (!equal)
                continue;
        }
        if (m_filtered && m_filter) {
            bool keep = m_filter->matches([&](const std::string& field) { return valueOf(r, resolveField(field)); });
            if (!keep)
                continue;
        }
        m_view.push_back(r);
    }
}

void DataSet::notifySources(DataEvent event)
{
    if (m_disableCount > 0)
        return;
    auto sources = m_sources;
    for (DataSource* s : sources)
        if (std::find(m_sources.begin(), m_sources.end(), s) != m_sources.end())
            s->notify(event);
}

void DataSet::raiseAfterScroll()
{
    if (AfterScroll) {
        auto handler = AfterScroll;
        handler(*this);
    }
}

void DataSet::First()
{
    if (!m_active)
        throw TableError(m_name + " は開かれていません");
    CheckBrowseMode();
    if (m_demand) {
        m_ahead.clear();
        m_aheadChunk = 0;
        m_current.reset();
        if (m_positioned) {
            if (!m_viewIds.empty())
                demandGoTo(0);
        } else {
            auto first = m_demand->rowsAfter(nullptr, 1, demandFilter());
            if (!first.empty())
                m_current = std::move(first.front());
        }
    }
    m_pos = 0;
    m_bof = true;
    m_eof = IsEmpty();
    notifySources(DataEvent::Scrolled);
    raiseAfterScroll();
}

void DataSet::Last()
{
    if (!m_active)
        throw TableError(m_name + " は開かれていません");
    CheckBrowseMode();
    positionView();
    m_pos = IsEmpty() ? 0 : RecordCount() - 1;
    if (m_demand && !IsEmpty())
        demandGoTo(m_pos);
    m_eof = true;
    m_bof = IsEmpty();
    notifySources(DataEvent::Scrolled);
    raiseAfterScroll();
}

void DataSet::Next()
{
    if (!m_active)
        throw TableError(m_name + " は開かれていません");
    CheckBrowseMode();
    if (m_demand && !m_positioned) {
        if (!m_current) {
            m_eof = true;
            return;
        }
        if (m_ahead.empty()) {
            // Walks read ahead in growing steps: a look at the next row or two stays cheap, and
            // a walk through an article's link rows costs a few statements.
            m_aheadChunk = std::min<std::size_t>(256, std::max<std::size_t>(8, m_aheadChunk * 2));
            auto rows = m_demand->rowsAfter(&*m_current, m_aheadChunk, demandFilter());
            if (rows.empty()) {
                m_eof = true;
                return;
            }
            m_ahead.assign(std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
        }
        m_current = std::move(m_ahead.front());
        m_ahead.pop_front();
        if (m_pos >= 0)
            ++m_pos;
        m_bof = false;
        m_eof = false;
        notifySources(DataEvent::Scrolled);
        raiseAfterScroll();
        return;
    }
    if (m_pos + 1 >= RecordCount()) {
        m_eof = true;
        return;
    }
    ++m_pos;
    if (m_demand)
        demandGoTo(m_pos);
    m_bof = false;
    m_eof = false;
    notifySources(DataEvent::Scrolled);
    raiseAfterScroll();
}

void DataSet::Prior()
{
    if (!m_active)
        throw TableError(m_name + " は開かれていません");
    CheckBrowseMode();
    positionView();
    if (m_pos <= 0) {
        m_bof = true;
        return;
    }
    --m_pos;
    if (m_demand)
        demandGoTo(m_pos);
    m_bof = false;
    m_eof = false;
    notifySources(DataEvent::Scrolled);
    raiseAfterScroll();
}

void DataSet::MoveTo(int recNo)
{
    if (!m_active || recNo < 0 || recNo >= RecordCount())
        return;
    CheckBrowseMode();
    if (recNo == m_pos && !IsEmpty())
        return;
    m_pos = recNo;
    if (m_demand)
        demandGoTo(recNo);
    m_bof = m_eof = false;
    notifySources(DataEvent::Scrolled);
    raiseAfterScroll();
}

void DataSet::SetIndexFieldNames(const std::string& names)
{
    if (m_active && !names.empty())
        fieldIndexes(names);  // throws for an unknown field before anything changes
    m_indexFieldNames = names;
    if (m_active)
        activate();
}

void DataSet::SetFilter(const std::string& expression)
{
    std::unique_ptr<FilterExpression> parsed;
    bool blank = expression.find_first_not_of(" \t\r\n") == std::string::npos;
    if (!blank) {
        parsed = FilterExpression::parse(expression);
        if (m_active) {
            std::vector<std::string> names;
            parsed->collectFields(names);
            for (const auto& n : names)
                resolveField(n);
        }
    }
    m_filterText = expression;
    m_filter = std::move(parsed);
    if (m_active && m_filtered)
        activate();
}

void DataSet::SetFiltered(bool on)
{
    if (m_filtered == on)
        return;
    m_filtered = on;
    if (m_active)
        activate();
}

void DataSet::SetMasterSource(DataSource* master)
{
    if (m_masterSource == master)
        return;
    if (m_masterSource) {
        m_masterSource->unsubscribe(m_masterSubscription);
        m_masterSource->removeDetail(this);
    }
    m_masterSource = master;
    m_masterSubscription = 0;
    if (m_masterSource) {
        m_masterSubscription = m_masterSource->subscribe([this](DataEvent) { masterChanged(); });
        m_masterSource->addDetail(this);
    }
    if (m_active)
        activate();
}

void DataSet::SetMasterFields(const std::string& names)
{
    m_masterFields = names;
    if (m_active)
        activate();
}

void DataSet::masterChanged()
{
    if (m_active)
        activate();
}

bool DataSet::Locate(const std::string& fieldNames, const std::vector<Value>& values)
{
    if (!m_active)
        throw TableError(m_name + " は開かれていません");
    CheckBrowseMode();
    std::vector<int> cols = fieldIndexes(fieldNames);
    const std::optional<std::vector<Value>> given = wantedValues(cols, values);
    if (!given)
        return false;
    const std::vector<Value>& wanted = *given;
    if (m_demand) {
        const OnDemandRows::Accept filter = demandFilter();
        auto found = m_demand->firstWith(cols, wanted, [&](const Row& row) {
            auto mine = [&](int c) { return valueOfRow(row, c); };
            return sameValues(cols, wanted, mine) && (!filter || filter(row));
        });
        if (!found)
            return false;
        m_ahead.clear();
        m_aheadChunk = 0;
        m_current = std::move(*found);
        m_pos = -1;
        if (m_positioned) {
            auto it = std::find(m_viewIds.begin(), m_viewIds.end(), m_current->rowId);
            m_pos = it != m_viewIds.end() ? static_cast<int>(it - m_viewIds.begin()) : 0;
        }
        m_bof = m_eof = false;
        notifySources(DataEvent::Scrolled);
        raiseAfterScroll();
        return true;
    }
    auto [first, last] = cols.empty() ? std::pair{0, RecordCount()} : locateRange(cols[0], wanted[0]);
    for (int p = first; p < last; ++p) {
        int r = m_view[static_cast<std::size_t>(p)];
        if (sameValues(cols, wanted, [&](int c) { return valueOf(r, c); })) {
            m_pos = p;
            m_bof = m_eof = false;
            notifySources(DataEvent::Scrolled);
            raiseAfterScroll();
            return true;
        }
    }
    return false;
}

std::optional<std::vector<Value>> DataSet::wantedValues(const std::vector<int>& cols,
                                                        const std::vector<Value>& values) const
{
    if (cols.size() != values.size())
        throw TableError("Locate: 項目と値の数が合いません");
    // Integer fields take their value given as text; a text that is no number matches nothing.
    std::vector<Value> wanted;
    for (std::size_t k = 0; k < cols.size(); ++k) {
        const Value& v = values[k];
        FieldType t = m_fieldDefs[static_cast<std::size_t>(cols[k])].type;
        if (t == FieldType::Integer && v.isText()) {
            auto n = Value::parseInteger(v.asText());
            if (!n)
                return std::nullopt;
            wanted.emplace_back(*n);
        } else {
            wanted.push_back(v);
        }
    }
    return wanted;
}

std::vector<Row> DataSet::RowsWith(const std::string& fieldNames, const std::vector<Value>& values)
{
    if (!m_active)
        throw TableError(m_name + " は開かれていません");
    CheckBrowseMode();
    std::vector<Row> rows;
    const std::vector<int> cols = fieldIndexes(fieldNames);
    const std::optional<std::vector<Value>> given = wantedValues(cols, values);
    if (!given)
        return rows;
    const std::vector<Value>& wanted = *given;
    const int fieldCount = static_cast<int>(m_fieldDefs.size());
    if (m_demand) {
        const OnDemandRows::Accept filter = demandFilter();
        auto found = m_demand->rowsWith(cols, wanted, [&](const Row& row) {
            auto mine = [&](int c) { return valueOfRow(row, c); };
            return sameValues(cols, wanted, mine) && (!filter || filter(row));
        });
        rows.reserve(found.size());
        for (const FetchedRow& f : found) {
            Row row(static_cast<std::size_t>(fieldCount));
            for (int c = 0; c < fieldCount; ++c)
                row[static_cast<std::size_t>(c)] = valueOfRow(f.row, c);
            rows.push_back(std::move(row));
        }
        return rows;
    }
    auto [first, last] = cols.empty() ? std::pair{0, RecordCount()} : locateRange(cols[0], wanted[0]);
    for (int p = first; p < last; ++p) {
        const int r = m_view[static_cast<std::size_t>(p)];
        if (!sameValues(cols, wanted, [&](int c) { return valueOf(r, c); }))
            continue;
        Row row(static_cast<std::size_t>(fieldCount));
        for (int c = 0; c < fieldCount; ++c)
            row[static_cast<std::size_t>(c)] = valueOf(r, c);
        rows.push_back(std::move(row));
    }
    return rows;
}

bool DataSet::sameValues(const std::vector<int>& cols, const std::vector<Value>& wanted,
                         const std::function<Value(int column)>& mineOf) const
{
    for (std::size_t k = 0; k < cols.size(); ++k) {
        Value mine = mineOf(cols[k]);
        const Value& theirs = wanted[k];
        bool equal;
        if (mine.isText() || theirs.isText())
            equal = mine.isText() && theirs.isText() ? mine.asText() == theirs.asText()
                                                     : mine.asText() == theirs.asText() && !mine.isNull();
        else
            equal = !mine.isNull() && Value::compare(mine, theirs) == 0;
        if (!equal)
            return false;
    }
    return true;
}

std::pair<int, int> DataSet::locateRange(int column, const Value& wanted) const
{
    const int all = RecordCount();
    if (m_indexFieldNames.empty() || !wanted.isInteger() ||
        m_fieldDefs[static_cast<std::size_t>(column)].type != FieldType::Integer ||
        fieldIndexes(m_indexFieldNames).front() != column)
        return {0, all};
    // The view is sorted on this column, and an INTEGER column's text cells never spell an
    // integer (the engine stores those as numbers), so every row that can match stands in one
    // run of equal numbers. Hovering over an article looks up the link table on every mouse
    // move: a binary search keeps that independent of the table's size.
    auto less = [&](int row, const Value& v) { return Value::compare(valueOf(row, column), v) < 0; };
    auto greater = [&](const Value& v, int row) { return Value::compare(v, valueOf(row, column)) < 0; };
    auto begin = std::lower_bound(m_view.begin(), m_view.end(), wanted, less);
    auto end = std::upper_bound(begin, m_view.end(), wanted, greater);
    return {static_cast<int>(begin - m_view.begin()), static_cast<int>(end - m_view.begin())};
}

namespace {

std::string keyText(const std::vector<Value>& values)
{
    std::string key;
    for (const auto& v : values) {
        key += v.asText();
        key += '\x1F';
    }
    return key;
}

constexpr std::size_t kLookupsKept = 4096;

}  // namespace

const std::vector<Row>& DataSet::AllRows() const
{
    if (!m_demand)
        return m_rows;
    m_allRowsRead = m_demand->allRows();
    for (Row& row : m_allRowsRead)
        for (std::size_t f = 0; f < row.size(); ++f)
            if (computedField(static_cast<int>(f)))
                row[f] = valueOfRow(row, static_cast<int>(f));
    return m_allRowsRead;
}

Value DataSet::LookupValue(const std::string& keyFields, const std::vector<Value>& key, const std::string& resultField) const
{
    if (!m_active)
        return Value();
    const int resultCol = FieldIndex(resultField);
    if (resultCol < 0)
        return Value();
    std::vector<int> cols;
    for (const auto& n : splitFieldNames(keyFields))
        cols.push_back(FieldIndex(n));
    LookupIndex& index = m_lookups[keyFields];
    if (index.generation != m_generation) {
        index = LookupIndex{};
        index.generation = m_generation;
        if (!m_demand) {
            for (std::size_t r = 0; r < m_rows.size(); ++r) {
                std::vector<Value> rowKey;
                for (int c : cols)
                    rowKey.push_back(c >= 0 && static_cast<std::size_t>(c) < m_rows[r].size() ? m_rows[r][static_cast<std::size_t>(c)] : Value());
                index.rowOfKey.emplace(keyText(rowKey), static_cast<int>(r));  // the first row wins
            }
        }
    }
    const std::string wanted = keyText(key);
    const Row* row = nullptr;
    if (!m_demand) {
        auto it = index.rowOfKey.find(wanted);
        if (it == index.rowOfKey.end())
            return Value();
        row = &m_rows[static_cast<std::size_t>(it->second)];
    } else {
        if (std::find(cols.begin(), cols.end(), -1) != cols.end() || cols.size() != key.size())
            return Value();
        auto it = index.rowOfKeyRead.find(wanted);
        if (it == index.rowOfKeyRead.end()) {
            // A grid shows a screenful of look-ups at a time; what was read is kept until the
            // file changes or the cache is full.
            if (index.rowOfKeyRead.size() >= kLookupsKept)
                index.rowOfKeyRead.clear();
            it = index.rowOfKeyRead.emplace(wanted, m_demand->lookup(cols, key)).first;
        }
        if (!it->second)
            return Value();
        row = &*it->second;
    }
    return static_cast<std::size_t>(resultCol) < row->size() ? (*row)[static_cast<std::size_t>(resultCol)] : Value();
}

void DataSet::Refresh()
{
    if (m_active)
        activate(true);
}

void DataSet::DisableControls()
{
    ++m_disableCount;
}

void DataSet::EnableControls()
{
    if (m_disableCount == 0)
        return;
    if (--m_disableCount == 0)
        notifySources(DataEvent::DataSetChanged);
}

}  // namespace store
