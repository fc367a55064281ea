#pragma once
// The find dialog: a byte pattern from a number (with width and byte
// transformations) or from text, for the Find and Insert commands. It is
// modeless and stays on top; each press of the action button and of Close
// is announced by a signal, and the caller does the buffer work.
#include <QDialog>

#include <cstdint>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

class TFindForm : public QDialog {
    Q_OBJECT
public:
    explicit TFindForm(QWidget* parent = nullptr);

    // The pattern of the last request; its size is the pattern length (at
    // most FindPatternCapacity). Empty while the number does not convert.
    std::vector<uint8_t> Pattern;
    int PatternLength() const { return static_cast<int>(Pattern.size()); }

    // Captions for the caller (code page 1251): the form's caption and
    // action button in find and insert mode, and the button after a match.
    std::string FindCaption = "Find";
    std::string InsertCaption = "Insert";
    std::string FindNextCaption = "Find next";
    std::string NumberToFindCaption = "Number to find";
    std::string NumberToInsertCaption = "Number to insert";
    std::string TextToFindCaption = "Text to find";
    std::string TextToInsertCaption = "Text to insert";

    QTabWidget* PageControl1;
    QWidget* TabSheet1; // number
    QGroupBox* GroupBox3;
    QLineEdit* Edit3;
    QGroupBox* GroupBox2;
    QLabel* Panel1;
    QGroupBox* GroupBox4;
    QLabel* Label1;
    QComboBox* ComboBox1;
    QCheckBox* CheckBox2; // reverse byte order
    QCheckBox* CheckBox3; // swap bytes
    QCheckBox* CheckBox4; // swap nibbles
    QCheckBox* CheckBox5; // mirror bits
    QCheckBox* CheckBox6; // invert
    QWidget* TabSheet2; // text
    QGroupBox* GroupBox1;
    QPlainTextEdit* Memo1;
    QCheckBox* CheckBox1; // insert as from text dump
    QPushButton* SpeedButton2; // the action
    QPushButton* SpeedButton1; // Close

    // The form's caption is InsertCaption.
    bool InsertMode() const;
    // Whether the "Text" page is active, and its lines (code page 1251).
    bool TextPageActive() const;
    std::vector<std::string> MemoLines() const;

    // Rebuilds the number pattern and its hexadecimal view from the
    // "Number" page.
    void BuildNumberPattern();
    // The action button: builds the pattern of the active page and raises
    // ActionRequested when there is one. In insert mode the text page's
    // memo is the caller's to read, of any length: the request is raised
    // whenever it holds characters.
    void SpeedButton2Click();

signals:
    // A valid, non-empty pattern is ready in Pattern.
    void ActionRequested();
    // Close or Escape: the caller ends its command and closes the form.
    void CloseRequested();

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void relabel();
    void buildLayout();
    void buildNumberPage();
    void buildTextPage();
};
