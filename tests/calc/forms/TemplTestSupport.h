#pragma once
// Shared by the calculator window's tests: a program folder with the
// calculator fixtures and a picture, buffer 1's view, the own window.
#include "BufferStateGuard.h"
#include "TestSupport.h"
#include "buffer/forms/HDump.h"
#include "calc/forms/Templ.h"
#include "platform/Paths.h"

#include <QImage>
#include <QLabel>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace calctest {

// The picture the fixtures show.
inline constexpr int LogoWidth = 32, LogoHeight = 24;

class CalcWindowTest : public ::testing::Test {
protected:
    testsupport::TBufferStateGuard state_;
    testsupport::TempDir dir_;
    std::string savedFolder_ = ProgramFolder();
    std::unique_ptr<THexDump> view_ = std::make_unique<THexDump>();

    void SetUp() override
    {
        std::filesystem::create_directories(dir_.file("Calculators/Pictures"));
        for (const char* name : {"checksum.cal", "controls.cal", "endless.cal", "writer.cal", "fields.cal"})
            std::filesystem::copy_file(testsupport::FixturePath(std::string("calc/") + name),
                                       dir_.file(std::string("Calculators/") + name));
        QImage logo(LogoWidth, LogoHeight, QImage::Format_RGB32);
        logo.fill(Qt::darkCyan);
        ASSERT_TRUE(logo.save(QString::fromStdString(dir_.file("Calculators/Pictures/logo.bmp"))));
        SetProgramFolder(dir_.path());
        view_->SetSize(256);
        CreateCalculatorWindow(nullptr, view_.get());
    }
    void TearDown() override
    {
        FreeCalculatorWindow();
        SetProgramFolder(savedFolder_);
    }

    // A calculator of the program folder ("Calculators\<name>").
    static void Open(const std::string& name) { OpenCalculator("Calculators\\" + name); }
    // Writes a script into the program folder's calculators.
    void WriteScript(const std::string& name, const std::string& text) const
    {
        testsupport::WriteFileBytes(dir_.file("Calculators/" + name), text);
    }

    template <class T>
    static T* Ctl(const std::string& name)
    {
        const auto it = CalcControls.find(name);
        return it == CalcControls.end() ? nullptr : qobject_cast<T*>(it->second.data());
    }
    // The text the panel shows in place of controls.
    static QString PanelText(QWidget* panel)
    {
        auto* label = panel->findChild<QLabel*>("CalcPanelText", Qt::FindDirectChildrenOnly);
        return label && !label->isHidden() ? label->text() : QString();
    }
};

} // namespace calctest
