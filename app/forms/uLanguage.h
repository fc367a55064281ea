#pragma once
// TfmLanguage: the choice of the interface language among "English" and the
// languages of the Languages folder. OK makes the choice LanguageName at
// once; it takes effect at the next start, as the dialog says.
#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;

class TfmLanguage : public QDialog {
    Q_OBJECT
public:
    // Relabels itself and fills the list from LanguageList: create it once
    // the language tables are built. Later showings keep the last choice.
    explicit TfmLanguage(QWidget* parent = nullptr);

    QComboBox* ComboBox1;
    QLabel* StaticText1;
    QPushButton* SpeedButton2; // OK
    QPushButton* SpeedButton1; // Cancel

    void SpeedButton2Click();
    void SpeedButton1Click();

private:
    void relabel();

    // The list's items as code page 1251 texts, in list order.
    std::vector<std::string> choices_;
};
