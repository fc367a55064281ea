#include "engine/forms/uCompilerErrors.h"

#include "platform/Cp1251.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfmCompilerErrors::TfmCompilerErrors(QWidget* parent) : QDialog(parent)
{
    setObjectName("fmCompilerErrors");
    setWindowTitle("Compiler errors");
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    // Error lines quote script text, which lines up better in a fixed font.
    Memo1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    SpeedButton1 = new QPushButton("Close", Panel1);
    SpeedButton1->setObjectName("SpeedButton1");
    SpeedButton1->setDefault(true);
    auto* panel = new QHBoxLayout(Panel1);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addStretch(1);
    panel->addWidget(SpeedButton1);

    auto* form = new QVBoxLayout(this);
    form->addWidget(Memo1, 1);
    form->addWidget(Panel1);

    connect(SpeedButton1, &QPushButton::clicked, this, &TfmCompilerErrors::SpeedButton1Click);
    resize(520, 300);
}

void TfmCompilerErrors::SetErrorLines(const TStringList& lines)
{
    QStringList text;
    for (const std::string& line : lines)
        text << Cp1251ToQString(line);
    Memo1->setPlainText(text.join('\n'));
}

void TfmCompilerErrors::SpeedButton1Click() { close(); }
