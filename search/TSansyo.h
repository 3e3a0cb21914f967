// The reference search's dialog `Sansyo` ("参照条文検索"): which lower categories to list, and
// what to do with the article the search starts from. Created for one run and shown modally;
// it reads the values PresetScope and ReferredCode it is given when created and writes SearchScope,
// CurrentArticleOption and MemoSizeOption when 検　索 is pressed.
#pragma once

#include <QDialog>
#include <QGroupBox>
#include <vector>

#include "search/ReferenceScope.h"

class QLabel;
class QPushButton;
class QRadioButton;
class Platform;

// A framed group of radio buttons answered by item index, laid out in columns.
class RadioGroup : public QGroupBox {
    Q_OBJECT

public:
    RadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent = nullptr);

    // The index of the checked item, -1 when none is.
    int itemIndex() const;
    void setItemIndex(int index);
    QRadioButton* item(int index) const { return m_items.at(static_cast<std::size_t>(index)); }

private:
    std::vector<QRadioButton*> m_items;
};

class TSansyo : public QDialog {
    Q_OBJECT

public:
    TSansyo(Platform& platform, search::ReferenceDialogValues& values, QWidget* parent = nullptr);

    // The create step: the scope group's enabled and selected buttons for PresetScope and
    // ReferredCode. Runs from the constructor.
    void FormCreate();

    void SansyoOkButtonClick();
    void SansyoCancelButtonClick();
    void SansyoHelpButtonClick();

    QLabel* Label1 = nullptr;
    QGroupBox* SansyoGroupBox1 = nullptr;
    QRadioButton* SansyoRadioButtonSeirei = nullptr;
    QRadioButton* SansyoRadioButtonKisoku = nullptr;
    QRadioButton* SansyoRadioButtonKai = nullptr;
    QRadioButton* SansyoRadioButtonAll = nullptr;
    RadioGroup* SansyoRadioGroup2 = nullptr;
    RadioGroup* SansyoRadioGroup3 = nullptr;
    QPushButton* SansyoOkButton = nullptr;
    QPushButton* SansyoCancelButton = nullptr;
    QPushButton* SansyoHelpButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    Platform& m_platform;
    search::ReferenceDialogValues& m_values;
};
