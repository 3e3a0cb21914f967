// A data source: the binding that grids and detail tables follow. Rebinding it from a table to
// a query's answer set moves everything bound to it.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace store {

class DataSet;

enum class DataEvent {
    DataSetChanged,  // opened, closed, rebound, refiltered, reordered, or resumed after suspension
    Scrolled,        // the current row moved
};

class DataSource {
public:
    explicit DataSource(std::string name = {}) : m_name(std::move(name)) {}
    ~DataSource();
    DataSource(const DataSource&) = delete;
    DataSource& operator=(const DataSource&) = delete;

    const std::string& name() const { return m_name; }
    DataSet* dataSet() const { return m_dataSet; }
    void setDataSet(DataSet* dataSet);  // DataSet := …; observers see DataSetChanged

    using Listener = std::function<void(DataEvent)>;
    int subscribe(Listener listener);
    void unsubscribe(int id);

    // Called by the bound data set.
    void notify(DataEvent event);
    void dataSetDestroyed() { m_dataSet = nullptr; notify(DataEvent::DataSetChanged); }
    // Detail data sets that follow this source; told when it goes away.
    void addDetail(DataSet* detail);
    void removeDetail(DataSet* detail);

private:
    std::string m_name;
    DataSet* m_dataSet = nullptr;
    std::map<int, Listener> m_listeners;
    std::vector<DataSet*> m_details;
    int m_nextId = 1;
};

}  // namespace store
