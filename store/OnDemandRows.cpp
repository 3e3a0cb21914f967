// Statements over a read-only table file: the view's rows from a start, after a row, with given
// values, by rowid, and the view's rowids; prepared once per shape and kept.
#include "store/OnDemandRows.h"

#include <sqlite3.h>

#include <cstring>

#include "text/Cp932.h"

namespace store {

namespace {

constexpr const char* kCp932Collation = "sorvane_cp932";
constexpr std::size_t kRowCacheSize = 512;

// Texts order as the cursor orders them in memory: byte for byte in code page 932, which is
// not the order of their UTF-8 bytes.
int compareAsCp932(void*, int aLength, const void* a, int bLength, const void* b)
{
    const std::string x = text::fromUtf8(std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(aLength))).text;
    const std::string y = text::fromUtf8(std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(bLength))).text;
    const int c = x.compare(y);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool isTextual(FieldType t)
{
    return t == FieldType::Text || t == FieldType::Memo;
}

// Where "column = value" in SQL holds exactly for the rows the cursor's own comparison takes:
// numbers against a numeric field, texts against a text field.
bool sqlComparesAsCursor(FieldType t, const Value& v)
{
    if (v.isNull())
        return false;
    if (isTextual(t))
        return v.isText();
    return v.isInteger() || v.isFloat();
}

}  // namespace

class OnDemandRows::Use {
public:
    explicit Use(sqlite3_stmt* st) : m_st(st) {}
    ~Use()
    {
        sqlite3_reset(m_st);
        sqlite3_clear_bindings(m_st);
    }
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;
    void bind(const std::vector<Value>& params)
    {
        for (std::size_t i = 0; i < params.size(); ++i)
            bindValue(m_st, static_cast<int>(i + 1), params[i]);
    }
    sqlite3_stmt* get() const { return m_st; }

private:
    sqlite3_stmt* m_st;
};

OnDemandRows::OnDemandRows(std::unique_ptr<TableFile> file)
    : m_file(std::move(file)),
      m_db(m_file->connection()),
      m_from(quoteIdentifier(m_file->tableName())),
      m_path(m_file->path()),
      m_fields(m_file->fields())
{
    sqlite3_create_collation(m_db, kCp932Collation, SQLITE_UTF8, nullptr, compareAsCp932);
}

OnDemandRows::OnDemandRows(std::shared_ptr<void> owner, sqlite3* connection, std::string quotedTable,
                           std::filesystem::path file, std::vector<FieldDef> fields, std::vector<bool> computed)
    : m_owner(std::move(owner)),
      m_db(connection),
      m_from(std::move(quotedTable)),
      m_path(std::move(file)),
      m_fields(std::move(fields)),
      m_computed(std::move(computed))
{
    sqlite3_create_collation(m_db, kCp932Collation, SQLITE_UTF8, nullptr, compareAsCp932);
}

OnDemandRows::~OnDemandRows()
{
    for (auto& [sql, st] : m_statements)
        sqlite3_finalize(st);
}

void OnDemandRows::fail() const
{
    throw TableError(TableFile::readFailure(m_path, m_db));
}

sqlite3_stmt* OnDemandRows::statement(const std::string& sql)
{
    auto it = m_statements.find(sql);
    if (it != m_statements.end())
        return it->second;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
        fail();
    m_statements.emplace(sql, st);
    return st;
}

std::string OnDemandRows::column(int c) const
{
    const FieldDef& f = fields()[static_cast<std::size_t>(c)];
    std::string q = quoteIdentifier(f.name);
    if (isTextual(f.type))
        q += std::string(" COLLATE ") + kCp932Collation;
    return q;
}

std::string OnDemandRows::selectList() const
{
    std::string s = "SELECT rowid";
    for (std::size_t i = 0; i < fields().size(); ++i)
        s += ", " + (computed(static_cast<int>(i)) ? std::string("NULL") : quoteIdentifier(fields()[i].name));
    return s + " FROM " + m_from;
}

void OnDemandRows::setView(std::vector<int> orderColumns, std::vector<int> rangeColumns, std::vector<Value> rangeValues,
                           bool none)
{
    m_order = std::move(orderColumns);
    m_range = std::move(rangeColumns);
    m_rangeValues = std::move(rangeValues);
    m_none = none;
}

std::string OnDemandRows::viewWhere(std::vector<Value>& params) const
{
    std::string w = " WHERE 1";
    for (std::size_t k = 0; k < m_range.size(); ++k) {
        w += " AND " + quoteIdentifier(fields()[static_cast<std::size_t>(m_range[k])].name) + " IS ?";
        params.push_back(k < m_rangeValues.size() ? m_rangeValues[k] : Value());
    }
    return w;
}

std::string OnDemandRows::viewOrder() const
{
    std::string o = " ORDER BY ";
    for (int c : m_order)
        o += column(c) + ", ";
    return o + "rowid";
}

FetchedRow OnDemandRows::readRow(sqlite3_stmt* st)
{
    FetchedRow r;
    r.rowId = sqlite3_column_int64(st, 0);
    r.row.reserve(fields().size());
    for (std::size_t i = 0; i < fields().size(); ++i)
        r.row.push_back(readColumn(st, static_cast<int>(i + 1), fields()[i].type, m_replaced));
    return r;
}

std::vector<FetchedRow> OnDemandRows::rowsAfter(const FetchedRow* after, std::size_t limit, const Accept& accept)
{
    std::vector<FetchedRow> out;
    if (m_none || limit == 0)
        return out;
    std::vector<Value> params;
    std::string sql = selectList() + viewWhere(params);
    if (after) {
        // The rows after (k1 … kn, rowid) in view order. Nulls come first, as in the cursor's
        // order; a non-null first key also bounds the scan, so that an index on it serves.
        std::string tail = "rowid > ?";
        std::vector<Value> tailParams{Value(after->rowId)};
        for (std::size_t i = m_order.size(); i-- > 0;) {
            const std::string col = column(m_order[i]);
            const Value& key = after->row[static_cast<std::size_t>(m_order[i])];
            std::vector<Value> p;
            std::string greater;
            if (key.isNull()) {
                greater = quoteIdentifier(fields()[static_cast<std::size_t>(m_order[i])].name) + " IS NOT NULL";
            } else {
                greater = col + " > ?";
                p.push_back(key);
            }
            std::string same = quoteIdentifier(fields()[static_cast<std::size_t>(m_order[i])].name) + " IS ?";
            p.push_back(key);
            tail = "(" + greater + " OR (" + same + " AND " + tail + "))";
            p.insert(p.end(), tailParams.begin(), tailParams.end());
            tailParams = std::move(p);
        }
        if (!m_order.empty() && !after->row[static_cast<std::size_t>(m_order[0])].isNull()) {
            sql += " AND " + column(m_order[0]) + " >= ?";
            params.push_back(after->row[static_cast<std::size_t>(m_order[0])]);
        }
        sql += " AND " + tail;
        params.insert(params.end(), tailParams.begin(), tailParams.end());
    }
    sql += viewOrder();
    if (!accept) {
        sql += " LIMIT ?";
        params.emplace_back(static_cast<std::int64_t>(limit));
    }
    Use use(statement(sql));
    use.bind(params);
    int rc = SQLITE_DONE;
    while (out.size() < limit && (rc = sqlite3_step(use.get())) == SQLITE_ROW) {
        FetchedRow r = readRow(use.get());
        if (!accept || accept(r.row))
            out.push_back(std::move(r));
    }
    if (out.size() < limit && rc != SQLITE_DONE)
        fail();
    return out;
}

std::optional<FetchedRow> OnDemandRows::firstWith(const std::vector<int>& columns, const std::vector<Value>& values,
                                                  const Accept& accept)
{
    auto found = rowsWith(columns, values, accept, 1);
    if (found.empty())
        return std::nullopt;
    return std::move(found.front());
}

std::vector<FetchedRow> OnDemandRows::rowsWith(const std::vector<int>& columns, const std::vector<Value>& values,
                                               const Accept& accept, std::size_t limit)
{
    std::vector<FetchedRow> out;
    if (m_none || limit == 0)
        return out;
    std::vector<Value> params;
    std::string sql = selectList() + viewWhere(params);
    for (std::size_t k = 0; k < columns.size() && k < values.size(); ++k) {
        const FieldDef& f = fields()[static_cast<std::size_t>(columns[k])];
        if (computed(columns[k]) || !sqlComparesAsCursor(f.type, values[k]))
            continue;
        sql += " AND " + quoteIdentifier(f.name) + " = ?";
        params.push_back(values[k]);
    }
    sql += viewOrder();
    Use use(statement(sql));
    use.bind(params);
    int rc = SQLITE_DONE;
    while (out.size() < limit && (rc = sqlite3_step(use.get())) == SQLITE_ROW) {
        FetchedRow r = readRow(use.get());
        if (!accept || accept(r.row))
            out.push_back(std::move(r));
    }
    if (out.size() < limit && rc != SQLITE_DONE)
        fail();
    return out;
}

std::vector<std::int64_t> OnDemandRows::rowIds(const std::vector<int>& neededColumns, const Accept& accept)
{
    std::vector<std::int64_t> ids;
    if (m_none)
        return ids;
    std::vector<Value> params;
    std::string sql = "SELECT rowid";
    if (accept)
        for (int c : neededColumns)
            sql += ", " + (computed(c) ? std::string("NULL") : quoteIdentifier(fields()[static_cast<std::size_t>(c)].name));
    sql += " FROM " + m_from + viewWhere(params) + viewOrder();
    Use use(statement(sql));
    use.bind(params);
    Row row(fields().size());
    int rc;
    while ((rc = sqlite3_step(use.get())) == SQLITE_ROW) {
        const std::int64_t id = sqlite3_column_int64(use.get(), 0);
        if (accept) {
            for (std::size_t k = 0; k < neededColumns.size(); ++k) {
                const int c = neededColumns[k];
                row[static_cast<std::size_t>(c)] =
                    readColumn(use.get(), static_cast<int>(k + 1), fields()[static_cast<std::size_t>(c)].type, m_replaced);
            }
            if (!accept(row))
                continue;
        }
        ids.push_back(id);
    }
    if (rc != SQLITE_DONE)
        fail();
    return ids;
}

const Row& OnDemandRows::rowOf(std::int64_t rowId)
{
    auto it = m_rowCache.find(rowId);
    if (it != m_rowCache.end())
        return it->second;
    Use use(statement(selectList() + " WHERE rowid = ?"));
    use.bind({Value(rowId)});
    const int rc = sqlite3_step(use.get());
    if (rc != SQLITE_ROW) {
        if (rc != SQLITE_DONE)
            fail();
        throw TableError("テーブル " + m_path.filename().string() + " の行 " + std::to_string(rowId) +
                         " がありません");
    }
    if (m_rowCache.size() >= kRowCacheSize)
        m_rowCache.clear();
    return m_rowCache.emplace(rowId, readRow(use.get()).row).first->second;
}

std::optional<Row> OnDemandRows::lookup(const std::vector<int>& columns, const std::vector<Value>& values)
{
    std::string sql = selectList() + " WHERE 1";
    for (int c : columns)
        sql += " AND " + quoteIdentifier(fields()[static_cast<std::size_t>(c)].name) + " IS ?";
    sql += " ORDER BY rowid LIMIT 1";
    Use use(statement(sql));
    use.bind(values);
    const int rc = sqlite3_step(use.get());
    if (rc == SQLITE_ROW)
        return readRow(use.get()).row;
    if (rc != SQLITE_DONE)
        fail();
    return std::nullopt;
}

std::vector<Row> OnDemandRows::allRows()
{
    std::vector<Row> rows;
    Use use(statement(selectList() + " ORDER BY rowid"));
    int rc;
    while ((rc = sqlite3_step(use.get())) == SQLITE_ROW)
        rows.push_back(readRow(use.get()).row);
    if (rc != SQLITE_DONE)
        fail();
    return rows;
}

}  // namespace store
