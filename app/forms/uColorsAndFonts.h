#pragma once
// TfmcolorsAndFonts, the modal dialog "Editor parameters": the dump views'
// font and six colours, the look of the chip name label, and the editor's
// option bits of WorkParam. Each showing loads the settings again, so
// Cancel discards every change; OK stores colours and bits in the settings.
// The main window presets Label8's font and SampleFont before showing it
// and applies them afterwards.
#include "app/uColorsAndFonts.h"

#include <QDialog>
#include <QFont>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;

class TfmcolorsAndFonts : public QDialog {
    Q_OBJECT
public:
    explicit TfmcolorsAndFonts(QWidget* parent = nullptr);

    // Image1's canvas font: the editor font the sample shows.
    QFont SampleFont;
    // The colour and font dialogs; tests put their own answers here.
    std::function<std::optional<QColor>(const QColor& initial)> ChooseColor;
    std::function<std::optional<QFont>(const QFont& initial)> ChooseFont;

    // The swatches' colours (colour references) in EditorColorSettings order.
    uint32_t SwatchColor(int i) const { return swatches_[i]; }

    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QGroupBox* GroupBox8; // chip name view
    QFrame* Panel2;
    QLabel* Label8;       // the sample chip name
    QCheckBox* CheckBox2; // bold font
    QGroupBox* GroupBox6; // example
    QLabel* Image1;       // the sample dump
    QGroupBox* GroupBox1; // font
    QLabel* Label1;
    QPushButton* Button7;
    QGroupBox* GroupBox2; // colours
    QGroupBox* GroupBox3;
    QGroupBox* GroupBox4;
    QGroupBox* GroupBox5;
    QGroupBox* GroupBox7;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QFrame* Shapes[EditorColorCount];       // Shape1 .. Shape6
    QPushButton* Buttons[EditorColorCount]; // Button1 .. Button6
    QLabel* Label9;
    QComboBox* ComboBox2; // tabs
    QLabel* Label10;
    QComboBox* ComboBox3; // parameter panel
    QCheckBox* CheckBox5;
    QCheckBox* CheckBox4;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox8;
    QCheckBox* CheckBox9;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox6;
    QCheckBox* CheckBox11;
    QCheckBox* cbDisableBackup;
    QCheckBox* cbNoMarkFile;
    QLabel* Label11;
    QComboBox* ComboBox1; // default save name
    QPushButton* SpeedButton1; // Cancel
    QPushButton* SpeedButton2; // OK

    void FormShow();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void ButtonClick(int i); // Button1Click .. Button6Click
    void Button7Click();
    void CheckBox2Click();
    void PaintSample();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildColorsPage();
    QGroupBox* buildColorsGroup(QWidget* page);
    QWidget* buildParametersPage();
    void relabel();
    void setSwatch(int i, uint32_t color);
    void showFontName();
    // The option control of a table row: a check box or a combo box.
    QWidget* optionControl(const char* name) const;

    uint32_t swatches_[EditorColorCount] = {};
};
