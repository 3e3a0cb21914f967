// Rows of a read-only table file, or of an answer set kept in its connection's temporary
// storage, read through SQLite statements when a cursor needs them, in the order of a view
// (index fields, then file order) within a master range; nothing is read when the file opens
// but its schema, and a small cache keeps the single rows read last.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "store/TableFile.h"
#include "store/Value.h"

struct sqlite3;
struct sqlite3_stmt;

namespace store {

struct FetchedRow {
    std::int64_t rowId = 0;
    Row row;
};

class OnDemandRows {
public:
    explicit OnDemandRows(std::unique_ptr<TableFile> file);
    // An answer set: the table (already quoted, "temp"."…") in a connection that owner keeps
    // open; fields the table lacks (computed) read as null and never narrow a statement.
    // file: the table file searched, named in messages.
    OnDemandRows(std::shared_ptr<void> owner, sqlite3* connection, std::string quotedTable, std::filesystem::path file,
                 std::vector<FieldDef> fields, std::vector<bool> computed);
    ~OnDemandRows();
    OnDemandRows(const OnDemandRows&) = delete;
    OnDemandRows& operator=(const OnDemandRows&) = delete;

    const std::vector<FieldDef>& fields() const { return m_fields; }

    // What a cursor adds to the view that SQL does not decide (its filter); empty takes every row.
    using Accept = std::function<bool(const Row&)>;

    // The view: rows in the order of orderColumns and then of the file; when rangeColumns are
    // given, only the rows whose columns hold rangeValues; with none, no row at all.
    void setView(std::vector<int> orderColumns, std::vector<int> rangeColumns, std::vector<Value> rangeValues, bool none);

    // Up to limit rows of the view that accept takes: from the first, or after the given row.
    std::vector<FetchedRow> rowsAfter(const FetchedRow* after, std::size_t limit, const Accept& accept);
    // The first row of the view, in view order, that accept takes among those whose columns
    // may equal values (the statement narrows by the values where SQL compares as the cursor
    // does; accept decides).
    std::optional<FetchedRow> firstWith(const std::vector<int>& columns, const std::vector<Value>& values,
                                        const Accept& accept);
    // Every such row, in view order, read by one statement.
    std::vector<FetchedRow> rowsWith(const std::vector<int>& columns, const std::vector<Value>& values,
                                     const Accept& accept, std::size_t limit = SIZE_MAX);
    // The rowids of the whole view that accept takes; accept sees only the needed columns.
    std::vector<std::int64_t> rowIds(const std::vector<int>& neededColumns, const Accept& accept);
    // One row by rowid, from the cache when it was read lately. Throws when it is gone.
    const Row& rowOf(std::int64_t rowId);
    // The first row in file order, whatever the view, whose columns hold the values (look-ups).
    std::optional<Row> lookup(const std::vector<int>& columns, const std::vector<Value>& values);
    // Every row in file order, whatever the view (the callers that walk a whole small table).
    std::vector<Row> allRows();

    void forgetRows() { m_rowCache.clear(); }

private:
    // A prepared statement kept for its text; reset (releasing the file) when the use ends.
    class Use;
    sqlite3_stmt* statement(const std::string& sql);
    std::string column(int c) const;      // quoted, with the code page 932 collation for texts
    std::string selectList() const;       // rowid and every field
    std::string viewWhere(std::vector<Value>& params) const;
    std::string viewOrder() const;
    FetchedRow readRow(sqlite3_stmt* st);
    [[noreturn]] void fail() const;

    bool computed(int c) const { return static_cast<std::size_t>(c) < m_computed.size() && m_computed[static_cast<std::size_t>(c)]; }

    std::unique_ptr<TableFile> m_file;
    std::shared_ptr<void> m_owner;
    sqlite3* m_db = nullptr;
    std::string m_from;   // the quoted table
    std::filesystem::path m_path;  // the file named in messages
    std::vector<FieldDef> m_fields;
    std::vector<bool> m_computed;
    std::unordered_map<std::string, sqlite3_stmt*> m_statements;
    std::vector<int> m_order, m_range;
    std::vector<Value> m_rangeValues;
    bool m_none = false;
    std::unordered_map<std::int64_t, Row> m_rowCache;
    std::size_t m_replaced = 0;
};

}  // namespace store
