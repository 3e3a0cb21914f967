// Data source bindings and their listeners.
#include "store/DataSource.h"

#include <algorithm>
#include <vector>

#include "store/DataSet.h"

namespace store {

DataSource::~DataSource()
{
    if (m_dataSet)
        m_dataSet->detachSource(this);
    auto details = m_details;
    for (DataSet* d : details)
        d->masterSourceDestroyed();
}

void DataSource::addDetail(DataSet* detail)
{
    m_details.push_back(detail);
}

void DataSource::removeDetail(DataSet* detail)
{
    m_details.erase(std::remove(m_details.begin(), m_details.end(), detail), m_details.end());
}

void DataSource::setDataSet(DataSet* dataSet)
{
    if (m_dataSet == dataSet)
        return;
    if (m_dataSet)
        m_dataSet->detachSource(this);
    m_dataSet = dataSet;
    if (m_dataSet)
        m_dataSet->attachSource(this);
    notify(DataEvent::DataSetChanged);
}

int DataSource::subscribe(Listener listener)
{
    int id = m_nextId++;
    m_listeners.emplace(id, std::move(listener));
    return id;
}

void DataSource::unsubscribe(int id)
{
    m_listeners.erase(id);
}

void DataSource::notify(DataEvent event)
{
    // A listener may subscribe or unsubscribe others while it runs: call a snapshot, and skip
    // the ones removed meanwhile.
    std::vector<int> ids;
    ids.reserve(m_listeners.size());
    for (const auto& entry : m_listeners)
        ids.push_back(entry.first);
    for (int id : ids) {
        auto it = m_listeners.find(id);
        if (it != m_listeners.end()) {
            Listener copy = it->second;
            copy(event);
        }
    }
}

}  // namespace store
