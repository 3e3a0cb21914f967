// A Qt table model over a data source: the rows of whatever data set the source is bound to (a
// table or a search result), in cursor order, and the columns a grid names. The model follows the
// source, so rebinding, filtering and moving the data set show in every grid at once.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QFont>
#include <QString>
#include <string>
#include <vector>

namespace store {
class DataSet;
class DataSource;
}  // namespace store

struct GridColumn {
    std::string fieldName;  // matched without regard to ASCII case
    QString title;
    int width = 64;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

class DataSourceModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit DataSourceModel(std::vector<GridColumn> columns, QObject* parent = nullptr);
    ~DataSourceModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Follows source from now on (nullptr: no rows).
    void setSource(store::DataSource* source);
    store::DataSource* source() const { return m_source; }
    // The data set the source is bound to, when it is open; otherwise nullptr.
    store::DataSet* activeDataSet() const;
    const std::vector<GridColumn>& columns() const { return m_columns; }

    // The data set's current row, -1 when there is none.
    int currentRow() const;
    // Moves the data set to row, as selecting it in a grid does.
    void moveTo(int row);

    // Every cell's font and colour (the grids draw their rows bold and blue).
    void setCellFont(const QFont& font) { m_cellFont = font; }
    const QFont& cellFont() const { return m_cellFont; }
    void setCellColour(const QColor& colour) { m_cellColour = colour; }

signals:
    // The data set's current row moved, or the rows were replaced; row is -1 when empty.
    void currentRowChanged(int row);

private:
    void sourceEvent(int event);
    void resolveFields();

    store::DataSource* m_source = nullptr;
    std::vector<GridColumn> m_columns;
    std::vector<int> m_fieldIndexes;  // per column, in the bound data set; -1 when it lacks it
    int m_subscription = 0;
    QFont m_cellFont;
    QColor m_cellColour;
};
