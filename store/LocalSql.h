// The local SQL the searches build, translated for SQLite: SELECT DISTINCT fields FROM a
// table file name, WHERE/AND/OR terms in parentheses (substring LIKE '%…%', integer
// comparisons), ORDER BY one field. A LIKE pattern's outer "%" are the wildcards and
// everything between them is literal text, so a keyword holding "%", "_" or a doubled quote
// is searched for as those characters. Values are bound as parameters, never pasted.
#pragma once

#include <string>
#include <vector>

#include "store/TableError.h"
#include "store/Value.h"

namespace store {

struct TranslatedSql {
    std::string tableFile;               // as named after FROM (UTF-8)
    std::vector<std::string> columns;    // selected fields (UTF-8)
    std::string whereSql;                // SQLite condition with ? parameters, or empty
    std::vector<Value> parameters;       // texts in UTF-8 for SQLite
    std::string orderBy;                 // field name or empty
    bool orderDescending = false;
    bool distinct = false;
    // Builds the SQLite statement over the file's table name.
    std::string sqliteStatement(const std::string& tableName) const;
};

// Parses statement text (code page 932, lines joined). Throws TableError with what is wrong.
TranslatedSql translateLocalSql(const std::string& statement);

// The SQLite function the translation uses for LIKE '%…%': true when the text holds the
// literal. Registered on every connection that runs a translated statement.
inline constexpr const char* kContainsFunction = "sorvane_contains";

}  // namespace store
