// SQLite access for table files: open with checks, read whole, write inside transactions.
#include "store/TableFile.h"

#include <sqlite3.h>

#include <chrono>
#include <random>

#include "text/Cp932.h"

namespace store {

namespace {

OpenObserver& openObserver()
{
    static OpenObserver observer;
    return observer;
}

FieldType typeOfDeclared(std::string declared)
{
    for (auto& c : declared)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (declared.find("MEMO") != std::string::npos)
        return FieldType::Memo;
    if (declared.find("INT") != std::string::npos)
        return FieldType::Integer;
    if (declared.find("REAL") != std::string::npos || declared.find("FLOA") != std::string::npos ||
        declared.find("DOUB") != std::string::npos)
        return FieldType::Float;
    return FieldType::Text;
}

const char* declaredOfType(FieldType t)
{
    switch (t) {
    case FieldType::Integer: return "INTEGER";
    case FieldType::Float: return "REAL";
    case FieldType::Memo: return "MEMOTEXT";
    case FieldType::Text: break;
    }
    return "TEXT";
}

std::string utf8Of(const std::string& cp932Text)
{
    return text::toUtf8(cp932Text).text;
}


bool hasHotJournal(const std::filesystem::path& file)
{
    std::error_code ec;
    auto journal = file;
    journal += "-journal";
    return std::filesystem::exists(journal, ec);
}

std::string fileLabel(const std::filesystem::path& p)
{
    return p.filename().string();
}

}  // namespace

void bindValue(sqlite3_stmt* st, int index, const Value& v)
{
    if (v.isNull())
        sqlite3_bind_null(st, index);
    else if (v.isInteger())
        sqlite3_bind_int64(st, index, v.asInteger());
    else if (v.isFloat())
        sqlite3_bind_double(st, index, v.asFloat());
    else {
        std::string u = utf8Of(v.asText());
        sqlite3_bind_text(st, index, u.data(), static_cast<int>(u.size()), SQLITE_TRANSIENT);
    }
}
Value readColumn(sqlite3_stmt* st, int col
, FieldType type, std::size_t& replaced)
{
    switch (sqlite3_column_type(st, col)) {
    case SQLITE_NULL: return Value();
    case SQLITE_INTEGER: return Value(static_cast<std::int64_t>(sqlite3_column_int64(st, col)));
    case SQLITE_FLOAT: return Value(sqlite3_column_double(st, col));
    default: break;
    }
    const char* p = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
    int n = sqlite3_column_bytes(st, col);
    text::Conversion conv = text::fromUtf8(std::string_view(p ? p : "", static_cast<std::size_t>(n)));
    replaced += conv.replaced + conv.invalid;
    Value v(std::move(conv.text));
    if (type == FieldType::Integer) {
        if (auto n64 = Value::parseInteger(v.asText()))
            v = Value(*n64);
    }
    return v;
}

std::string quoteIdentifier(const std::string& name)
{
    std::string out = "\"";
    for (char c : name) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

void setOpenObserver(OpenObserver observer)
{
    openObserver() = std::move(observer);
}

std::string TableFile::readFailure(const std::filesystem::path& file, sqlite3* db)
{
    const std::string engine = db ? sqlite3_errmsg(db) : "";
    const int code = db ? sqlite3_extended_errcode(db) : SQLITE_ERROR;
    if (code == SQLITE_READONLY_ROLLBACK)
        return "テーブル " + fileLabel(file) + " は書き込みが途中で止まったままです (" + fileLabel(file) +
               "-journal が残っています)。このプログラムはどちらにも書き込まないので、配信し直してください";
    if ((code & 0xFF) == SQLITE_CORRUPT || (code & 0xFF) == SQLITE_NOTADB || code == SQLITE_IOERR_SHORT_READ)
        return "テーブル " + fileLabel(file) + " が壊れているか、読んでいる間に書き換えられました: " + engine;
    return "テーブル " + fileLabel(file) + " が読めません: " + engine;
}

std::unique_ptr<TableFile> TableFile::open(const std::filesystem::path& file, TableAccess access)
{
    if (openObserver())
        openObserver()(file);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        throw TableError("テーブル " + fileLabel(file) + " が開けません: ファイルがありません");
    const bool readOnly = access != TableAccess::Write;
    std::unique_ptr<TableFile> t(new TableFile);
    t->m_path = file;
    t->m_readOnly = readOnly;
    t->m_access = access;
    int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (sqlite3_open_v2(file.string().c_str(), &t->m_db, flags, nullptr) != SQLITE_OK)
        t->fail("が開けません");
    sqlite3_busy_timeout(t->m_db, 2000);
    if (!readOnly)
        t->exec("PRAGMA synchronous=FULL");
    else if (access == TableAccess::Browse)
        // A mapped page of a file truncated under the program faults; read, it is an error.
        t->exec("PRAGMA mmap_size=0");
    else if (hasHotJournal(file)) {
        // A writer killed mid-transaction left its rollback journal; a read-only connection
        // cannot roll it back, so let a short read-write connection do it first.
        sqlite3* fixer = nullptr;
        if (sqlite3_open_v2(file.string().c_str(), &fixer, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK)
            sqlite3_exec(fixer, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
        sqlite3_close(fixer);
    }

    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(t->m_db, "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite_%'",
                           -1, &st, nullptr) != SQLITE_OK) {
        if ((sqlite3_extended_errcode(t->m_db) & 0xFF) == SQLITE_NOTADB)
            throw TableError("テーブル " + fileLabel(file) + " はテーブルファイルではありません (" +
                             sqlite3_errmsg(t->m_db) + ")");
        throw TableError(readFailure(file, t->m_db));
    }
    std::vector<std::string> names;
    while (sqlite3_step(st) == SQLITE_ROW)
        names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    if (names.size() != 1)
        throw TableError("テーブル " + fileLabel(file) + " はテーブルファイルではありません (" +
                         std::to_string(names.size()) + " 個の表)");
    t->m_tableName = names[0];

    std::string sql = "PRAGMA table_info(" + quoteIdentifier(t->m_tableName) + ")";
    if (sqlite3_prepare_v2(t->m_db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
        t->fail("の項目が読めません");
    while (sqlite3_step(st) == SQLITE_ROW) {
        FieldDef f;
        f.name = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
        const unsigned char* decl = sqlite3_column_text(st, 2);
        f.type = typeOfDeclared(decl ? reinterpret_cast<const char*>(decl) : "");
        t->m_fields.push_back(f);
    }
    sqlite3_finalize(st);
    return t;
}

void TableFile::create(const std::filesystem::path& file, const std::string& tableName,
                       const std::vector<FieldDef>& fields, const std::vector<Row>& rows)
{
    std::error_code ec;
    std::filesystem::remove(file, ec);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        std::string msg = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close(db);
        throw TableError("テーブル " + fileLabel(file) + " が作れません: " + msg);
    }
    auto check = [&](int rc, const char* what) {
        if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
            std::string msg = sqlite3_errmsg(db);
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            sqlite3_close(db);
            throw TableError("テーブル " + fileLabel(file) + " が作れません (" + what + "): " + msg);
        }
    };
    std::string ddl = "CREATE TABLE " + quoteIdentifier(tableName) + " (";
    std::string ins = "INSERT INTO " + quoteIdentifier(tableName) + " VALUES (";
    for (std::size_t i = 0; i < fields.size(); ++i) {
        ddl += (i ? ", " : "") + quoteIdentifier(fields[i].name) + " " + declaredOfType(fields[i].type);
        ins += i ? ",?" : "?";
    }
    ddl += ")";
    ins += ")";
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), "begin");
    check(sqlite3_exec(db, ddl.c_str(), nullptr, nullptr, nullptr), "create");
    sqlite3_stmt* st = nullptr;
    check(sqlite3_prepare_v2(db, ins.c_str(), -1, &st, nullptr), "prepare");
    for (const Row& row : rows) {
        for (std::size_t i = 0; i < fields.size(); ++i)
            bindValue(st, static_cast<int>(i + 1), i < row.size() ? row[i] : Value());
        int rc = sqlite3_step(st);
        if (rc != SQLITE_DONE) {
            sqlite3_finalize(st);
            check(rc, "insert");
        }
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), "commit");
    sqlite3_close(db);
}

std::uint32_t TableFile::newDeliveryStamp()
{
    // Seconds in the high bits keep stamps of successive deliveries apart; random low bits
    // part two deliveries made in the same second.
    auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
        std::chrono::system_clock::now().time_since_epoch()).count();
    std::uint32_t stamp = (static_cast<std::uint32_t>(seconds) << 12) ^ (std::random_device{}() & 0xFFFu);
    return stamp ? stamp : 1;
}

void TableFile::writeDeliveryStamp(const std::filesystem::path& file, std::uint32_t stamp)
{
    sqlite3* db = nullptr;
    std::string failure;
    // The header's user version holds the stamp; SQLite stores it as a signed 32-bit value.
    std::string sql = "PRAGMA user_version=" + std::to_string(static_cast<std::int32_t>(stamp));
    if (sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        failure = db ? sqlite3_errmsg(db) : "out of memory";
    else if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        failure = sqlite3_errmsg(db);
    sqlite3_close(db);
    if (!failure.empty())
        throw TableError("テーブル " + fileLabel(file) + " に配信の印が書けません: " + failure);
}

std::uint32_t TableFile::deliveryStamp() const
{
    sqlite3_stmt* st = nullptr;
    std::uint32_t stamp = 0;
    if (sqlite3_prepare_v2(m_db, "PRAGMA user_version", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        stamp = static_cast<std::uint32_t>(static_cast<std::int32_t>(sqlite3_column_int(st, 0)));
    sqlite3_finalize(st);
    return stamp;
}

void TableFile::createIndexes(const std::filesystem::path& file, const std::vector<std::vector<std::string>>& indexes)
{
    // Not through open(): writing a volume is no opening of a table for reading.
    sqlite3* db = nullptr;
    std::string failure;
    if (sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        failure = db ? sqlite3_errmsg(db) : "out of memory";
    } else {
        sqlite3_stmt* st = nullptr;
        std::string table;
        if (sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite_%'", -1, &st,
                               nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            table = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        sqlite3_finalize(st);
        std::string sql = "BEGIN;";
        for (const auto& columns : indexes) {
            std::string name = table + "_by";
            std::string list;
            for (const auto& c : columns) {
                name += "_" + c;
                list += (list.empty() ? "" : ", ") + quoteIdentifier(c);
            }
            sql += "CREATE INDEX IF NOT EXISTS " + quoteIdentifier(name) + " ON " + quoteIdentifier(table) + " (" + list + ");";
        }
        sql += "COMMIT;";
        char* err = nullptr;
        if (table.empty())
            failure = "表がありません";
        else if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
            failure = err ? err : sqlite3_errmsg(db);
            sqlite3_free(err);
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        }
    }
    sqlite3_close(db);
    if (!failure.empty())
        throw TableError("テーブル " + fileLabel(file) + " に索引が作れません: " + failure);
}

TableFile::~TableFile()
{
    if (m_db)
        sqlite3_close(m_db);
}

void TableFile::exec(const std::string& sql) const
{
    char* err = nullptr;
    if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::string msg = err ? err : sqlite3_errmsg(m_db);
        sqlite3_free(err);
        throw TableError("テーブル " + fileLabel(m_path) + ": " + msg);
    }
}

void TableFile::fail(const std::string& what) const
{
    throw TableError("テーブル " + fileLabel(m_path) + " " + what + ": " + (m_db ? sqlite3_errmsg(m_db) : ""));
}

TableContents TableFile::readAll() const
{
    TableContents c;
    c.tableName = m_tableName;
    c.fields = m_fields;
    std::string sql = "SELECT rowid";
    for (const auto& f : m_fields)
        sql += ", " + quoteIdentifier(f.name);
    sql += " FROM " + quoteIdentifier(m_tableName) + " ORDER BY rowid";
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
        throw TableError(readFailure(m_path, m_db));
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        c.rowIds.push_back(sqlite3_column_int64(st, 0));
        Row row;
        row.reserve(m_fields.size());
        for (std::size_t i = 0; i < m_fields.size(); ++i)
            row.push_back(readColumn(st, static_cast<int>(i + 1), m_fields[i].type, c.replacedCharacters));
        c.rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) {
        std::string msg = readFailure(m_path, m_db);
        sqlite3_finalize(st);
        throw TableError(msg);
    }
    sqlite3_finalize(st);
    return c;
}

void TableFile::writeRow(const std::string& sql, const Row& row, std::int64_t rowId, const char* failure)
{
    if (m_readOnly)
        throw TableError("テーブル " + fileLabel(m_path) + " は読み取り専用です");
    exec("BEGIN IMMEDIATE");
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(m_db, sql.c_str(), -1, &st, nullptr);
    if (rc == SQLITE_OK) {
        for (std::size_t i = 0; i < m_fields.size(); ++i)
            bindValue(st, static_cast<int>(i + 1), i < row.size() ? row[i] : Value());
        if (rowId >= 0)
            sqlite3_bind_int64(st, static_cast<int>(m_fields.size() + 1), rowId);
        rc = sqlite3_step(st);
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) {
        std::string msg = sqlite3_errmsg(m_db);
        exec("ROLLBACK");
        throw TableError("テーブル " + fileLabel(m_path) + " " + failure + ": " + msg);
    }
    exec("COMMIT");
}

std::int64_t TableFile::insert(const Row& row)
{
    std::string sql = "INSERT INTO " + quoteIdentifier(m_tableName) + " (";
    std::string vals;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        sql += (i ? ", " : "") + quoteIdentifier(m_fields[i].name);
        vals += i ? ",?" : "?";
    }
    sql += ") VALUES (" + vals + ")";
    writeRow(sql, row, -1, "に追加できません");
    return sqlite3_last_insert_rowid(m_db);
}

void TableFile::update(std::int64_t rowId, const Row& row)
{
    std::string sql = "UPDATE " + quoteIdentifier(m_tableName) + " SET ";
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        sql += (i ? ", " : "") + quoteIdentifier(m_fields[i].name) + "=?";
    sql += " WHERE rowid=?";
    writeRow(sql, row, rowId, "を更新できません");
}

void TableFile::updateRows(const std::vector<std::pair<std::int64_t, Row>>& rows)
{
    if (m_readOnly)
        throw TableError("テーブル " + fileLabel(m_path) + " は読み取り専用です");
    std::string sql = "UPDATE " + quoteIdentifier(m_tableName) + " SET ";
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        sql += (i ? ", " : "") + quoteIdentifier(m_fields[i].name) + "=?";
    sql += " WHERE rowid=?";
    exec("BEGIN IMMEDIATE");
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(m_db, sql.c_str(), -1, &st, nullptr);
    for (std::size_t r = 0; rc == SQLITE_OK && r < rows.size(); ++r) {
        const auto& [rowId, row] = rows[r];
        sqlite3_reset(st);
        for (std::size_t i = 0; i < m_fields.size(); ++i)
            bindValue(st, static_cast<int>(i + 1), i < row.size() ? row[i] : Value());
        sqlite3_bind_int64(st, static_cast<int>(m_fields.size() + 1), rowId);
        rc = sqlite3_step(st);
        if (rc == SQLITE_DONE)
            rc = SQLITE_OK;
    }
    if (rc != SQLITE_OK) {
        std::string msg = sqlite3_errmsg(m_db);
        sqlite3_finalize(st);
        exec("ROLLBACK");
        throw TableError("テーブル " + fileLabel(m_path) + " を更新できません: " + msg);
    }
    sqlite3_finalize(st);
    exec("COMMIT");
}

void TableFile::remove(std::int64_t rowId)
{
    if (m_readOnly)
        throw TableError("テーブル " + fileLabel(m_path) + " は読み取り専用です");
    exec("BEGIN IMMEDIATE");
    std::string sql = "DELETE FROM " + quoteIdentifier(m_tableName) + " WHERE rowid=" + std::to_string(rowId);
    char* err = nullptr;
    if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::string msg = err ? err : "";
        sqlite3_free(err);
        exec("ROLLBACK");
        throw TableError("テーブル " + fileLabel(m_path) + " から削除できません: " + msg);
    }
    exec("COMMIT");
}

}  // namespace store
