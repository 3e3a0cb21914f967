// Running a local-SQL statement on SQLite, keeping its answer set in the connection's temporary
// storage and reading it on demand, with look-ups.
#include "store/Query.h"

#include <sqlite3.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>

#include "store/FileState.h"
#include "store/LocalSql.h"
#include "store/TableFile.h"

namespace store {

namespace {

// LIKE '%…%': byte search of the literal in UTF-8 text. A match of valid UTF-8 in valid UTF-8
// always begins on a character, so a keyword never matches from inside another character.
void containsFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    const char* hay = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    int hayLen = sqlite3_value_bytes(argv[0]);
    const char* needle = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    int needleLen = sqlite3_value_bytes(argv[1]);
    if (needleLen == 0) {
        sqlite3_result_int(ctx, 1);
        return;
    }
    sqlite3_result_int(ctx, hay && needle && memmem(hay, static_cast<std::size_t>(hayLen), needle,
                                                    static_cast<std::size_t>(needleLen)) != nullptr);
}

std::string joinStatement(const std::vector<std::string>& lines)
{
    std::string s;
    for (const auto& line : lines) {
        s += line;
        s += '\n';
    }
    return s;
}

// A table file's read connection for queries, kept from one query to the next: opening the
// file, reading its schema and setting up the connection would otherwise cost every search a
// fixed part of a millisecond. The connection serves while the name leads to the same file,
// unchanged: a file replaced under its name (the delivery build writes a new file and renames
// it over the old) is another inode, and a file written since (the authoring tables) has
// another time or size; either gets a fresh open with all its checks. While the old
// connection is kept, the old file stays open, so its inode number cannot come back for a new
// file.
struct ReadConnection {
    std::unique_ptr<TableFile> file;  // the name, fields and checks of the table, and its connection
    FileState identity;
};

// Shared: an open answer set keeps its connection (and its temporary table) alive after the
// file changed and a later search opened the file anew.
std::map<std::filesystem::path, std::shared_ptr<ReadConnection>>& readConnections()
{
    static std::map<std::filesystem::path, std::shared_ptr<ReadConnection>> connections;
    return connections;
}

std::filesystem::path connectionKey(const std::string& tableFile)
{
    std::error_code ec;
    std::filesystem::path path = std::filesystem::u8path(tableFile);
    std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.lexically_normal();
}

void dropReadConnection(const std::string& tableFile)
{
    readConnections().erase(connectionKey(tableFile));
}

// Whether the file under the connection's name is still the one it opened, as it was.
bool unchanged(const std::string& tableFile, const ReadConnection& connection)
{
    return stateOf(connectionKey(tableFile)) == connection.identity;
}

std::shared_ptr<ReadConnection> readConnectionFor(const std::string& tableFile)
{
    auto& connections = readConnections();
    const std::filesystem::path key = connectionKey(tableFile);
    auto it = connections.find(key);
    if (it != connections.end()) {
        if (unchanged(tableFile, *it->second))
            return it->second;
        connections.erase(it);
    }

    // Missing, not SQLite, not one table: the table file's own messages. The identity is taken
    // first: a file replaced between the two is then seen as changed at the next search.
    auto connection = std::make_shared<ReadConnection>();
    const std::optional<FileState> opened = stateOf(key);
    connection->file = TableFile::open(std::filesystem::u8path(tableFile), TableAccess::Browse);
    if (!opened)
        throw TableError("テーブル " + tableFile + " が開けません: ファイルがありません");
    connection->identity = *opened;
    sqlite3* db = connection->file->connection();
    // A double-quoted name that is no column must be an error, not a text.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    // A search reads every page of the text file; the connection keeps them between searches
    // (SQLite drops them itself when another connection changes the file). The file is read,
    // never mapped: a page of a file overwritten under the scan is then an error, not a crash.
    sqlite3_exec(db, "PRAGMA cache_size=-65536", nullptr, nullptr, nullptr);
    sqlite3_create_function(db, kContainsFunction, 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                            containsFunction, nullptr, nullptr);
    return connections.emplace(key, std::move(connection)).first->second;
}

std::uint64_t nextAnswerNumber()
{
    static std::uint64_t number = 0;
    return ++number;
}

}  // namespace

Query::Query(std::string name) : DataSet(std::move(name)) {}

void Query::AddDataField(const std::string& name, FieldType type)
{
    FieldDefinition definition;
    definition.def = {name, type};
    m_definitions.push_back(definition);
}

void Query::AddLookupField(const std::string& name, FieldType type, const std::string& keyFields,
                           const std::string& lookupKeyFields, const std::string& lookupResultField)
{
    FieldDefinition definition;
    definition.def = {name, type};
    definition.lookup = true;
    definition.keyFields = keyFields;
    definition.lookupKeyFields = lookupKeyFields;
    definition.lookupResultField = lookupResultField;
    m_definitions.push_back(definition);
}

void Query::SetLookupDataSet(const std::string& field, DataSet* lookup)
{
    for (auto& definition : m_definitions)
        if (definition.lookup && sameFieldName(definition.def.name, field))
            definition.lookupDataSet = lookup;
}

DataSet* Query::LookupDataSet(const std::string& field) const
{
    for (const auto& definition : m_definitions)
        if (sameFieldName(definition.def.name, field))
            return definition.lookupDataSet;
    return nullptr;
}

Query::~Query()
{
    releaseAnswer();
}

void Query::Close()
{
    DataSet::Close();
    releaseAnswer();
}

void Query::releaseAnswer()
{
    releaseOnDemandRows();
    if (m_connection && !m_answerTable.empty()) {
        const std::string drop = "DROP TABLE IF EXISTS temp." + quoteIdentifier(m_answerTable);
        sqlite3_exec(static_cast<ReadConnection*>(m_connection.get())->file->connection(), drop.c_str(), nullptr,
                     nullptr, nullptr);
    }
    m_answerTable.clear();
    m_connection.reset();
}

void Query::Open()
{
    if (m_active)
        return;
    releaseAnswer();
    TranslatedSql sql = translateLocalSql(joinStatement(m_sql));
    m_lastTableFile = sql.tableFile;
    std::shared_ptr<ReadConnection> connection = readConnectionFor(sql.tableFile);
    const TableFile& file = *connection->file;
    sqlite3* db = file.connection();

    sqlite3_stmt* st = nullptr;
    // A failed statement may mean the file needs what only a fresh open does (a file replaced
    // or rewritten): the connection is dropped, and the caller's next attempt opens anew.
    auto engineError = [&](const std::string& msg) {
        sqlite3_finalize(st);
        releaseAnswer();
        dropReadConnection(sql.tableFile);
        throw TableError(msg);
    };
    const std::string statement = sql.sqliteStatement(file.tableName());
    if (sqlite3_prepare_v2(db, statement.c_str(), -1, &st, nullptr) != SQLITE_OK) {
        // A statement SQLite refuses is the statement's fault; a file it cannot read, the file's.
        const int code = sqlite3_extended_errcode(db) & 0xFF;
        engineError(code == SQLITE_ERROR ? "テーブル " + sql.tableFile + " への問い合わせが正しくありません: " + sqlite3_errmsg(db)
                                         : TableFile::readFailure(file.path(), db));
    }
    std::vector<FieldDef> columns;
    for (int c = 0; c < sqlite3_column_count(st); ++c) {
        FieldDef def{sqlite3_column_name(st, c), FieldType::Text};
        for (const auto& f : file.fields())
            if (sameFieldName(f.name, def.name))
                def.type = f.type;
        columns.push_back(def);
    }
    sqlite3_finalize(st);
    st = nullptr;

    // The answer is written once, in the statement's order, to a table of the connection's
    // temporary storage (never beside the table file); its rowids are that order.
    const std::string table = "answer_" + std::to_string(nextAnswerNumber());
    const std::string create = "CREATE TEMP TABLE " + quoteIdentifier(table) + " AS " + statement;
    if (sqlite3_prepare_v2(db, create.c_str(), -1, &st, nullptr) != SQLITE_OK)
        engineError(TableFile::readFailure(file.path(), db));
    for (std::size_t i = 0; i < sql.parameters.size(); ++i) {
        const Value& p = sql.parameters[i];
        int idx = static_cast<int>(i + 1);
        if (p.isInteger())
            sqlite3_bind_int64(st, idx, p.asInteger());
        else {
            std::string t = p.asText();  // already UTF-8
            sqlite3_bind_text(st, idx, t.data(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
        }
    }
    m_connection = connection;
    m_answerTable = table;
    if (sqlite3_step(st) != SQLITE_DONE)
        engineError(TableFile::readFailure(file.path(), db));
    sqlite3_finalize(st);
    st = nullptr;
    // Rows read from a file that was overwritten while they were read may be of neither version.
    if (!unchanged(sql.tableFile, *connection))
        engineError("テーブル " + sql.tableFile + " が検索の間に書き換えられました。もう一度検索してください");
    // The table's own column names (SQLite renames a second column of one name).
    std::vector<std::string> stored;
    const std::string info = "PRAGMA temp.table_info(" + quoteIdentifier(table) + ")";
    if (sqlite3_prepare_v2(db, info.c_str(), -1, &st, nullptr) != SQLITE_OK)
        engineError(TableFile::readFailure(file.path(), db));
    while (sqlite3_step(st) == SQLITE_ROW)
        stored.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
    sqlite3_finalize(st);
    st = nullptr;
    if (stored.size() != columns.size())
        engineError(TableFile::readFailure(file.path(), db));

    // Persistent data fields bind to the answer's columns by name; look-up fields are computed
    // as rows are read.
    std::vector<FieldDef> defs, read;
    std::vector<bool> computed;
    if (m_definitions.empty()) {
        defs = columns;
        for (std::size_t c = 0; c < columns.size(); ++c)
            read.push_back({stored[c], columns[c].type});
        computed.assign(columns.size(), false);
    } else {
        for (auto& definition : m_definitions) {
            if (!definition.lookup) {
                definition.dataColumn = -1;
                for (std::size_t c = 0; c < columns.size(); ++c)
                    if (sameFieldName(columns[c].name, definition.def.name))
                        definition.dataColumn = static_cast<int>(c);
                if (definition.dataColumn < 0) {
                    releaseAnswer();
                    throw TableError(m_name + ": 項目 " + definition.def.name + " が問い合わせの結果にありません");
                }
                read.push_back({stored[static_cast<std::size_t>(definition.dataColumn)], definition.def.type});
            } else {
                read.push_back(definition.def);
            }
            defs.push_back(definition.def);
            computed.push_back(definition.lookup);
        }
    }
    setOnDemandRows(std::make_unique<OnDemandRows>(connection, db, "temp." + quoteIdentifier(table), std::filesystem::u8path(sql.tableFile),
                                                   std::move(read), std::move(computed)));
    m_fieldDefs = std::move(defs);
    activate();
}

bool Query::computedField(int fieldIndex) const
{
    return !m_definitions.empty() && m_definitions[static_cast<std::size_t>(fieldIndex)].lookup;
}

Value Query::valueOfRow(const Row& row, int fieldIndex) const
{
    if (!computedField(fieldIndex))
        return DataSet::valueOfRow(row, fieldIndex);
    const FieldDefinition& definition = m_definitions[static_cast<std::size_t>(fieldIndex)];
    if (!definition.lookupDataSet || !definition.lookupDataSet->Active())
        return Value();
    std::vector<Value> key;
    for (const auto& n : splitFieldNames(definition.keyFields)) {
        int f = FieldIndex(n);
        if (f < 0 || computedField(f))
            return Value();
        key.push_back(DataSet::valueOfRow(row, f));
    }
    return definition.lookupDataSet->LookupValue(definition.lookupKeyFields, key, definition.lookupResultField);
}

}  // namespace store
