#pragma once
// TfmBinList: the modal "Dumps library" window. The tree shows the
// library's dumps; choosing one shows its note (editable, Apply writes it)
// and its picture; Load (or a double click) closes the window with the
// dump and the chip its note names, which the main window then loads. A
// double click on the picture shows it in the picture viewer.
#include "app/uBinList.h"

#include <QDialog>

#include <string>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QTabWidget;
class TFileView;

class TfmBinList : public QDialog {
    Q_OBJECT
public:
    explicit TfmBinList(QWidget* parent = nullptr);

    QGroupBox* GroupBox1; // frame of the tree
    TFileView* TreeView1;
    QTabWidget* PageControl1;
    QPlainTextEdit* Memo1;
    QScrollArea* ScrollBox1;
    QLabel* Image1;
    QPushButton* SpeedButton3; // Apply
    QPushButton* btLoad;
    QPushButton* SpeedButton2; // Help
    QPushButton* SpeedButton1; // Close
    QMenu* PopupMenu1;
    QAction* Changefolder1;

    // After the window closed: whether Load closed it, the dump and the
    // note's chip name (empty: none).
    bool Result = false;
    TBinListChoice Choice;
    std::string ChipName;

    // The tree's root from LibraryFolder, as at creation.
    void FormCreate();
    void TreeView1Change();
    void TreeView1DblClick();
    void Memo1Change();
    void SpeedButton3Click();
    void btLoadClick();
    void SpeedButton1Click();
    // Lets the user choose the library's root folder.
    void Changefolder1Click();
    // The shown picture in the picture viewer, titled with the dump's name.
    void Image1DblClick();

private:
    void ShowPicture();
    void PlacePicture();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};
