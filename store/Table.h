// A table cursor over one table file, opened by bare file name in the working directory
// (browsing tables, read-only) or in a given directory (the authoring tables, writable).
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "store/DataSet.h"
#include "store/TableFile.h"

namespace store {

class Table : public DataSet {
public:
    enum class State { Browse, Edit, Insert };

    explicit Table(std::string name);
    ~Table() override;

    // TableName: the bare file name ("E1.db", "条文本文.db"), UTF-8.
    void SetTableName(const std::string& fileName) { m_tableName = fileName; }
    const std::string& TableName() const { return m_tableName; }
    // DatabaseName: the directory of the file; empty means the working directory.
    void SetDatabaseName(const std::filesystem::path& dir) { m_databaseName = dir; }
    const std::filesystem::path& DatabaseName() const { return m_databaseName; }
    // Browsing tables are read-only; the authoring tables are opened for writing.
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool ReadOnly() const { return m_readOnly; }
    // Fields the file must have; opening a file without one of them is an error naming it.
    void SetRequiredFields(std::vector<std::string> names) { m_requiredFields = std::move(names); }

    std::filesystem::path FilePath() const;

    void Open() override;  // throws TableError naming the file
    void Close() override;
    void Refresh() override;  // re-reads the file

    // Writing, for the authoring tables. Append/Edit start a row buffer that SetFieldValue
    // fills; Post writes it in one transaction; Cancel drops it; Delete removes the current row.
    // A row being edited is posted by the next move of the cursor and by Append, so that an
    // editor who walks on never loses what was typed.
    State GetState() const { return m_state; }
    void Append();
    void Edit();
    void SetFieldValue(std::string_view field, Value value);
    void Post();
    void Cancel();
    void Delete();
    // Sets field to a new value in each of the rows at the given cursor positions and writes
    // them in one transaction, re-sorting and notifying once: renumbering many rows stays quick
    // and never leaves half of them renumbered. The cursor stays on its row.
    void SetFieldOfRows(std::string_view field, const std::vector<std::pair<int, Value>>& changes);
    // While editing, reads see the row buffer.
    Value FieldValueForEdit(std::string_view field) const;

    void CheckBrowseMode() override;

private:
    // Writes the row buffer; afterScroll: whether the cursor's after-scroll follows, as for an
    // explicit post (a move that posts on its way raises its own).
    void postBuffer(bool afterScroll);

    std::string m_tableName;
    std::filesystem::path m_databaseName;
    bool m_readOnly = true;
    std::vector<std::string> m_requiredFields;
    std::unique_ptr<TableFile> m_file;
    std::vector<std::int64_t> m_rowIds;
    State m_state = State::Browse;
    Row m_buffer;
    int m_editRow = -1;
};

}  // namespace store
