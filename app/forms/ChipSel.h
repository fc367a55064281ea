#pragma once
// The chip selection dialog ("Select device"): the chip tree beside the
// selected chip's information, picture and parameter pages. Created once at
// start; the main window and the signature switch call SelectChip.
#include <QDialog>

#include <array>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QSplitter;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class THotLabel;

class TSelectForm : public QDialog {
    Q_OBJECT
public:
    explicit TSelectForm(QWidget* parent = nullptr);

    // Shows the dialog modally (unless it is visible already) with
    // preselectEntry selected when it is not empty; chosenEntry gets the
    // selected entry when the dialog was left with Select, else empty.
    // While StartupFlag is set it returns at once and leaves chosenEntry.
    void SelectChip(const std::string& preselectEntry, std::string& chosenEntry);

    // Dialog state.
    std::string SelectedEntry; // path of the selected node
    std::string ModulePath;    // the selected chip's module file, once read; else empty
    std::string PicturePath;   // native path of the shown picture; empty when none
    int DialogResult = 0;      // 1 Select, -1 Cancel, 0 not closed by a button

    QSplitter* Splitter1;
    QGroupBox* GroupBox1;      // the tree group
    QTreeWidget* TreeView1;
    QTabWidget* PageControl1;
    QWidget* TabSheet1;        // information
    QPlainTextEdit* Memo1;
    QWidget* TabSheet2;        // package
    QScrollArea* ScrollBox1;
    QLabel* Image1;
    QLabel* Label1;            // shown instead of a picture
    QWidget* TabSheet3;        // parameters
    QGroupBox* GroupBox2;      // default voltage
    QComboBox* ComboBox1;
    QGroupBox* GroupBox3;      // pin test
    std::array<QCheckBox*, 8> PinBoxes; // box i: line i + 1
    THotLabel* HotLabel1;      // Save
    QCheckBox* CheckBox1;      // "Use config file"
    QComboBox* ComboBox2;      // catalogue file
    QPushButton* BitBtn1;      // Select
    QPushButton* BitBtn2;      // Cancel
    QPushButton* SpeedButton3; // Help

    // Fills the tree from ChipTree.
    void CreateTreeNodes();
    // Selects the entry's node (its whole path, else the first node with its
    // last level) with the tree collapsed around it.
    void PreselectEntry(const std::string& entry);

    void TreeView1Change();
    void TreeView1DblClick();
    void BitBtn1Click();
    void BitBtn2Click();
    void Splitter1Moved();
    void CheckBox1Click();
    void ComboBox2Change();
    void HotLabel1Click();
    // The shown picture in the picture viewer, titled with the chip's name.
    void Image1DblClick();

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void BuildControls();
    QWidget* BuildParameterPage();
    void FormCreate();
    void Relabel();
    void FillCatalogChoice();
    void RebuildTree();
    void ShowFolder();
    void ShowChip();
    void ShowPicture(const std::string& nativePath);
    void EnableParameters(bool on);
    void TreeView1GetImageIndex(QTreeWidgetItem* item);

    std::vector<QTreeWidgetItem*> items_; // by ChipTree node
};
