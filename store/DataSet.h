// The cursor every table and answer set shares: an order, a filter, a master link, a current
// row, and notifications to the data sources bound to it. Writable tables hold their rows in
// memory; read-only tables and answer sets fetch theirs from SQLite as moves need them.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <string_view>
#include <utility>
#include <vector>

#include "store/DataSource.h"
#include "store/FilterExpression.h"
#include "store/OnDemandRows.h"
#include "store/TableError.h"
#include "store/Value.h"

namespace store {

class DataSet {
public:
    explicit DataSet(std::string name);
    virtual ~DataSet();
    DataSet(const DataSet&) = delete;
    DataSet& operator=(const DataSet&) = delete;

    const std::string& name() const { return m_name; }

    virtual void Open() = 0;
    virtual void Close();
    bool Active() const { return m_active; }

    // Moving. A Next that cannot move sets Eof, a Prior that cannot move sets Bof; both are
    // set after First on an empty set. AfterScroll follows every move that lands on a row,
    // and every First and Last.
    void First();
    void Next();
    void Prior();
    void Last();
    void MoveTo(int recNo);  // 0-based position in cursor order, as a grid selects a row
    bool Eof() const { return m_eof; }
    bool Bof() const { return m_bof; }
    bool IsEmpty() const;
    // Both count the rows of the whole view; a table reading on demand then reads the rowids
    // of its view once (until the view changes).
    int RecordCount() const;
    int RecNo() const;  // 0-based, -1 when empty

    // Fields. Names match without regard to ASCII case ("Gyo" reaches "GYO").
    const std::vector<FieldDef>& Fields() const { return m_fieldDefs; }
    int FieldIndex(std::string_view name) const;  // -1 when absent
    bool HasField(std::string_view name) const { return FieldIndex(name) >= 0; }
    Value FieldValue(std::string_view name) const;  // current row; throws for an unknown field
    std::int64_t IntegerField(std::string_view name) const { return FieldValue(name).asInteger(); }
    std::string TextField(std::string_view name) const { return FieldValue(name).asText(); }
    double FloatField(std::string_view name) const { return FieldValue(name).asFloat(); }
    std::vector<std::string> MemoLines(std::string_view name) const;
    // A value of the row at cursor position recNo, without moving (grids read this way).
    Value ValueAt(int recNo, int fieldIndex) const;

    // Order: "" is file order; "Gyo" (or "A;B") sorts stably, so equal keys keep file order.
    void SetIndexFieldNames(const std::string& names);
    const std::string& IndexFieldNames() const { return m_indexFieldNames; }

    // Filter: the text is parsed at once; a malformed text throws FilterError and the
    // previous filter stays in force. Changing either refreshes the set and moves to the first row.
    void SetFilter(const std::string& expression);
    const std::string& Filter() const { return m_filterText; }
    void SetFiltered(bool on);
    bool Filtered() const { return m_filtered; }

    // Master-detail: this set shows the rows whose index fields equal the master's current
    // MasterFields values, and follows every move of the master's data set.
    void SetMasterSource(DataSource* master);
    DataSource* MasterSource() const { return m_masterSource; }
    void SetMasterFields(const std::string& names);
    const std::string& MasterFields() const { return m_masterFields; }

    // Locate: the first row in cursor order whose fields ("Gyo;Sel") equal the values;
    // integer fields take values given as text. Found: the cursor moves there (AfterScroll).
    bool Locate(const std::string& fieldNames, const std::vector<Value>& values);
    // Every row in cursor order whose fields equal the values, as Locate matches them, each
    // with a value for every field; the cursor stays. Reads a set on demand in one statement,
    // where walking from Locate reads it a few rows at a time.
    std::vector<Row> RowsWith(const std::string& fieldNames, const std::vector<Value>& values);

    // Re-reads (tables) or re-applies order and filter (answer sets); stays on the current row
    // when it is still shown, else moves to the first.
    virtual void Refresh();

    // Every move (First, Next, Prior, Last, MoveTo, Locate) starts here, whether or not it then
    // moves: a writable table posts the row being edited, so that leaving a row commits it.
    virtual void CheckBrowseMode() {}

    // Suspends notifications to bound data sources; nested. When the count returns to zero
    // every bound source sees one DataSetChanged, so each grid and detail re-syncs once.
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return m_disableCount > 0; }

    std::function<void(DataSet&)> AfterScroll;

    // Changes whenever the rows change, so look-ups can cache what they found.
    std::uint64_t Generation() const { return m_generation; }
    // Every row regardless of order, filter and master; a set read on demand reads them all
    // when asked.
    const std::vector<Row>& AllRows() const;
    // A look-up: resultField of the first row in file order, whatever the order, filter and
    // master, whose keyFields ("A;B") equal key; null when there is none. The cursor stays.
    Value LookupValue(const std::string& keyFields, const std::vector<Value>& key, const std::string& resultField) const;

    // The master source is being destroyed: the link ends without a re-sync.
    void masterSourceDestroyed() { m_masterSource = nullptr; m_masterSubscription = 0; }

    // Data sources register themselves when bound.
    void attachSource(DataSource* source);
    void detachSource(DataSource* source);

protected:
    // Subclasses fill fields and rows, then call activate().
    void setContents(std::vector<FieldDef> fields, std::vector<Row> rows);
    // Or hand over a read-only file whose rows are read as moves need them, then call activate().
    void setOnDemandRows(std::unique_ptr<OnDemandRows> rows);
    bool readsOnDemand() const { return m_demand != nullptr; }
    // A read-only table's file may have changed: rows read before are read again.
    void forgetFetchedRows();
    // Rebuilds the view, goes to the first row (or stays on the current one when keepRow and it
    // is still shown), notifies the sources and raises AfterScroll.
    void activate(bool keepRow = false);
    void rebuildView();
    void notifySources(DataEvent event);
    void raiseAfterScroll();
    int resolveField(std::string_view name) const;  // throws TableError for unknown names
    virtual Value valueOf(int rowIndex, int fieldIndex) const;
    // A field of a row read on demand: the row's own value, or what a subclass computes from
    // the row (an answer set's look-up fields); computedField tells which fields those are.
    virtual Value valueOfRow(const Row& row, int fieldIndex) const;
    virtual bool computedField(int fieldIndex) const { return false; }
    // Drops the rows read on demand and their statements, without telling anyone (a set being
    // destroyed or closed by its subclass first).
    void releaseOnDemandRows();
    int currentRowIndex() const { return m_view.empty() ? -1 : m_view[static_cast<std::size_t>(m_pos)]; }
    void bumpGeneration() { ++m_generation; }

    std::string m_name;
    std::vector<FieldDef> m_fieldDefs;  // fields as readers see them
    std::vector<Row> m_rows;            // rows in file order
    mutable std::vector<Row> m_allRowsRead;  // AllRows of a table read on demand, as last asked
    std::vector<int> m_view;            // row indices in cursor order
    mutable int m_pos = 0;  // -1 while a table reading on demand does not know its position
    bool m_active = false;
    bool m_bof = true, m_eof = true;

private:
    struct LookupIndex {
        std::uint64_t generation = 0;
        std::unordered_map<std::string, int> rowOfKey;  // in-memory sets: row of each key
        std::unordered_map<std::string, std::optional<Row>> rowOfKeyRead;  // on demand: rows read
    };

    void masterChanged();
    // On demand: the view from order and master, and the walk state cleared.
    void resetDemandView();
    OnDemandRows::Accept demandFilter() const;
    // On demand: the rowids of the whole view, read once, with the current row's position.
    void positionView() const;
    void demandGoTo(int pos);
    bool sameValues(const std::vector<int>& cols, const std::vector<Value>& wanted,
                    const std::function<Value(int column)>& mine) const;
    std::vector<int> fieldIndexes(const std::string& names) const;
    // The values Locate looks for in cols: an integer field's value given as text read as a
    // number; none when such a text is no number (nothing can match).
    std::optional<std::vector<Value>> wantedValues(const std::vector<int>& cols, const std::vector<Value>& values) const;
    // The part of the view [first, last) where Locate can find wanted in column.
    std::pair<int, int> locateRange(int column, const Value& wanted) const;

    std::string m_indexFieldNames;
    std::string m_filterText;
    std::unique_ptr<FilterExpression> m_filter;
    bool m_filtered = false;
    DataSource* m_masterSource = nullptr;
    int m_masterSubscription = 0;
    std::string m_masterFields;
    int m_disableCount = 0;
    std::vector<DataSource*> m_sources;
    std::uint64_t m_generation = 0;
    mutable std::unordered_map<std::string, LookupIndex> m_lookups;  // by key field names

    // Reading on demand: the current row, rows read ahead by the last Next, and (once a
    // position was needed) the rowids of the whole view in order.
    std::unique_ptr<OnDemandRows> m_demand;
    mutable std::optional<FetchedRow> m_current;
    mutable std::deque<FetchedRow> m_ahead;
    std::size_t m_aheadChunk = 0;
    mutable std::vector<std::int64_t> m_viewIds;
    mutable bool m_positioned = false;
};

// Field names compare without regard to ASCII case.
bool sameFieldName(std::string_view a, std::string_view b);

// "Gyo;Sel" split at ";".
std::vector<std::string> splitFieldNames(const std::string& names);

}  // namespace store
