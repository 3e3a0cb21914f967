// The tool palette `Tool`: a strip of five buttons that an editor of the content keeps on top of
// the main window while working through a law volume: the link editor on the current article,
// the search for the articles carrying the authoring mark "＊", saving the current position to
// "C4.dl_" and coming back to it, and the next article of the list. Several may be open at once.
#pragma once

#include <QWidget>

class QPushButton;
class MainWindowInterface;

class TTool : public QWidget {
    Q_OBJECT

public:
    explicit TTool(MainWindowInterface& main);

    QPushButton* Button1 = nullptr;  // HyperLink
    QPushButton* Button3 = nullptr;  // SpecialSearch
    QPushButton* Button5 = nullptr;  // PositionSave
    QPushButton* Button4 = nullptr;  // ReturnPositon
    QPushButton* Button2 = nullptr;  // NextData

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();

private:
    // CurrentVolume := the law volume of the main window's active tab; false when there is none.
    bool resolveLawVolume();
    void focusTextView(int v);

    MainWindowInterface& m_main;
};
