// The grid model over a data source.
#include "display/DataSourceModel.h"

#include <QColor>

#include "store/DataSet.h"
#include "store/DataSource.h"
#include "store/TableError.h"
#include "text/QtText.h"

DataSourceModel::DataSourceModel(std::vector<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), m_columns(std::move(columns))
{
    resolveFields();
}

void DataSourceModel::setSource(store::DataSource* source)
{
    if (source == m_source)
        return;
    beginResetModel();
    if (m_source && m_subscription)
        m_source->unsubscribe(m_subscription);
    m_subscription = 0;
    m_source = source;
    if (m_source)
        m_subscription = m_source->subscribe([this](store::DataEvent e) { sourceEvent(static_cast<int>(e)); });
    resolveFields();
    endResetModel();
    emit currentRowChanged(currentRow());
}

DataSourceModel::~DataSourceModel()
{
    if (m_source && m_subscription)
        m_source->unsubscribe(m_subscription);
}

store::DataSet* DataSourceModel::activeDataSet() const
{
    store::DataSet* ds = m_source ? m_source->dataSet() : nullptr;
    return ds && ds->Active() ? ds : nullptr;
}

void DataSourceModel::resolveFields()
{
    m_fieldIndexes.assign(m_columns.size(), -1);
    store::DataSet* ds = activeDataSet();
    if (!ds)
        return;
    for (std::size_t c = 0; c < m_columns.size(); ++c)
        m_fieldIndexes[c] = ds->FieldIndex(m_columns[c].fieldName);
}

void DataSourceModel::sourceEvent(int event)
{
    if (static_cast<store::DataEvent>(event) == store::DataEvent::DataSetChanged) {
        beginResetModel();
        resolveFields();
        endResetModel();
    }
    emit currentRowChanged(currentRow());
}

int DataSourceModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    store::DataSet* ds = activeDataSet();
    try {
        return ds ? ds->RecordCount() : 0;
    } catch (const store::TableError&) {
        // A file overwritten under the list: nothing to paint; the next command opens it again.
        return 0;
    }
}

int DataSourceModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant DataSourceModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.column() >= static_cast<int>(m_columns.size()))
        return {};
    const GridColumn& column = m_columns[static_cast<std::size_t>(index.column())];
    switch (role) {
    case Qt::DisplayRole: {
        store::DataSet* ds = activeDataSet();
        int field = m_fieldIndexes[static_cast<std::size_t>(index.column())];
        try {
            if (!ds || field < 0 || index.row() >= ds->RecordCount())
                return {};
            return text::toQString(ds->ValueAt(index.row(), field).asText());
        } catch (const store::TableError&) {
            // Painting cannot stop for a row that cannot be read: the cell stays blank.
            return {};
        }
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(column.alignment);
    case Qt::FontRole:
        return m_cellFont;
    case Qt::ForegroundRole:
        return m_cellColour.isValid() ? QVariant(m_cellColour) : QVariant();
    default:
        return {};
    }
}

QVariant DataSourceModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(m_columns.size()))
        return {};
    if (role == Qt::DisplayRole)
        return m_columns[static_cast<std::size_t>(section)].title;
    return {};
}

int DataSourceModel::currentRow() const
{
    store::DataSet* ds = activeDataSet();
    return ds ? ds->RecNo() : -1;
}

void DataSourceModel::moveTo(int row)
{
    if (store::DataSet* ds = activeDataSet(); ds && row != ds->RecNo())
        ds->MoveTo(row);
}
