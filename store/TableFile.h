// A table file: one SQLite database holding the one table of that file. Text columns are
// stored as UTF-8 so the files read in any SQLite tool; values cross this boundary in code
// page 932. Declared column types name the field kinds: INTEGER, TEXT, REAL and MEMOTEXT.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "store/TableError.h"
#include "store/Value.h"

struct sqlite3;
struct sqlite3_stmt;

namespace store {

struct TableContents {
    std::string tableName;          // the table inside the file
    std::vector<FieldDef> fields;
    std::vector<std::int64_t> rowIds;  // SQLite rowids, parallel to rows, in file order
    std::vector<Row> rows;
    std::size_t replacedCharacters = 0;  // text code page 932 could not hold, read as 〓
};

// How a table file is opened.
enum class TableAccess {
    // A delivered volume's table: read-only and never mapped into memory, so that a file
    // overwritten under the program gives an error, not a crash; nothing is ever written beside
    // it, not even the roll-back of a journal a killed writer left (the file is refused then).
    Browse,
    // Read-only, but a journal that a killed writer of this program left (the authoring copy)
    // is rolled back first by a short read-write connection.
    Read,
    Write,
};

// An open table file. Read-only files are opened with SQLite's read-only flag; a writable
// file commits every change in its own transaction, so a change is durable when the call
// returns and a killed process leaves no half-written row.
class TableFile {
public:
    // Throws TableError naming the file when it is missing, not SQLite, or not one table.
    static std::unique_ptr<TableFile> open(const std::filesystem::path& file, TableAccess access);
    static std::unique_ptr<TableFile> open(const std::filesystem::path& file, bool readOnly)
    {
        return open(file, readOnly ? TableAccess::Read : TableAccess::Write);
    }

    // The message of a failed read of file on db: the file named, SQLite's words after it; a
    // journal left beside a browsing table and a file damaged or rewritten while it was read
    // are said in words of their own.
    static std::string readFailure(const std::filesystem::path& file, sqlite3* db);

    // Creates (replacing) a table file with one table of the given fields and rows, in one
    // transaction. Text values are code page 932 and are stored as UTF-8.
    static void create(const std::filesystem::path& file, const std::string& tableName,
                       const std::vector<FieldDef>& fields, const std::vector<Row>& rows);

    // Adds to a table file one index for each list of columns, in one transaction, so that
    // cursors reading on demand find rows by those columns without a scan.
    static void createIndexes(const std::filesystem::path& file, const std::vector<std::vector<std::string>>& indexes);

    // Every table file of one delivery carries the same stamp in its header, so that a reader
    // can tell a volume whose files come from two deliveries. 0 marks a file written before
    // stamps existed (or by hand): it agrees with any stamp.
    static std::uint32_t newDeliveryStamp();
    static void writeDeliveryStamp(const std::filesystem::path& file, std::uint32_t stamp);

    ~TableFile();
    TableFile(const TableFile&) = delete;
    TableFile& operator=(const TableFile&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    const std::string& tableName() const { return m_tableName; }
    const std::vector<FieldDef>& fields() const { return m_fields; }
    std::uint32_t deliveryStamp() const;

    TableContents readAll() const;
    // The open connection, for cursors that read rows through their own statements.
    sqlite3* connection() const { return m_db; }

    std::int64_t insert(const Row& row);                // returns the new rowid
    void update(std::int64_t rowId, const Row& row);
    // Rewrites many rows in one transaction: all of them or, on a failure, none.
    void updateRows(const std::vector<std::pair<std::int64_t, Row>>& rows);
    void remove(std::int64_t rowId);

private:
    TableFile() = default;
    void exec(const std::string& sql) const;
    // Runs one INSERT or UPDATE of a row in its own transaction; rowId >= 0 binds after the fields.
    void writeRow(const std::string& sql, const Row& row, std::int64_t rowId, const char* failure);
    [[noreturn]] void fail(const std::string& what) const;

    sqlite3* m_db = nullptr;
    std::filesystem::path m_path;
    std::string m_tableName;
    std::vector<FieldDef> m_fields;
    bool m_readOnly = true;
    TableAccess m_access = TableAccess::Read;
};

// Column col of the statement's current row as a field of the given type reads it: UTF-8 text
// becomes code page 932 (counting in replaced what it cannot hold), and an integer field
// holding a numeral as text (any SQLite tool can write one) reads as the integer.
Value readColumn(sqlite3_stmt* st, int col, FieldType type, std::size_t& replaced);

// Binds a value as a parameter: a code page 932 text is bound as UTF-8.
void bindValue(sqlite3_stmt* st, int index, const Value& v);

// "name" quoted as an SQLite identifier.
std::string quoteIdentifier(const std::string& name);

// Observers told of every table file opened, in order (tests check the opening order).
using OpenObserver = std::function<void(const std::filesystem::path&)>;
void setOpenObserver(OpenObserver observer);

}  // namespace store
