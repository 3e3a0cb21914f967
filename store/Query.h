// A local-SQL query: its statement lines, its answer set (which reads like a table, on demand),
// and persistent fields, data or look-up, that bind by name when it opens.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "store/DataSet.h"

namespace store {

class Query : public DataSet {
public:
    explicit Query(std::string name);
    ~Query() override;

    // SQL: the statement as text lines (code page 932), joined when the query opens.
    std::vector<std::string>& SQL() { return m_sql; }
    const std::vector<std::string>& SQL() const { return m_sql; }
    void SetSQL(std::vector<std::string> lines) { m_sql = std::move(lines); }

    // Persistent fields. Without any, the answer's columns are the fields.
    void AddDataField(const std::string& name, FieldType type);
    // A look-up field: LookupResultField of the LookupDataSet row whose LookupKeyFields equal
    // this row's KeyFields.
    void AddLookupField(const std::string& name, FieldType type, const std::string& keyFields,
                        const std::string& lookupKeyFields, const std::string& lookupResultField);
    void SetLookupDataSet(const std::string& field, DataSet* lookup);
    DataSet* LookupDataSet(const std::string& field) const;

    // Runs the statement against its table file in the working directory. Throws TableError
    // with the engine's message; the query stays closed then.
    void Open() override;
    // Closing lets the answer go.
    void Close() override;

    // The file the last statement named (tests check which files a search read).
    const std::string& LastTableFile() const { return m_lastTableFile; }

private:
    struct FieldDefinition {
        FieldDef def;
        bool lookup = false;
        std::string keyFields, lookupKeyFields, lookupResultField;
        DataSet* lookupDataSet = nullptr;
        int dataColumn = -1;  // for data fields: the answer column
    };
    Value valueOfRow(const Row& row, int fieldIndex) const override;
    bool computedField(int fieldIndex) const override;
    void releaseAnswer();

    std::vector<std::string> m_sql;
    std::vector<FieldDefinition> m_definitions;
    std::string m_lastTableFile;
    std::shared_ptr<void> m_connection;  // keeps the answer's connection open
    std::string m_answerTable;           // in the connection's temporary storage
};

}  // namespace store
