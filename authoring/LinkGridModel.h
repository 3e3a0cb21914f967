// The link editor's link list model (リンク一覧).
#pragma once

#include "display/DataSourceModel.h"
#include "store/Table.h"

// The link list's model: the current article's links, with the category name of each link's
// code looked up in the master; the cells other than ＫＥＹ edit the link in place.
class Platform;

class LinkGridModel : public DataSourceModel {
    Q_OBJECT

public:
    // platform reports an edit the table refuses.
    LinkGridModel(Platform& platform, store::Table& links, store::Table& master, QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    Platform& m_platform;
    store::Table& m_links;
    store::Table& m_master;
};
