#include "skin/sConst.h"

#include "platform/Cp1251.h"

#include <QLocale>

TCacheInfo EmptyCacheInfo{nullptr, -99, -99, 0, false};
TColor TransparentKeyColor = clFuchsia;
int ScrollBarWidth = 0;
bool FourDigitYear = false;

const std::array<std::string, 18> ThirdPartyNames = {
    "Edit", "Button", "BitBtn", "CheckBox", "ComboBox", "Grid", "GroupBox", "ListView", "Panel",
    "TreeView", "wwEdit", "GridEh", "VirtualTree", "PageControl", "TabControl", "ToolBar", "StatusBar", "SpeedButton"};

const std::array<std::string, 18> DefaultThirdPartyClasses = {
    " ", "TButton", " ", " ", " ", " ", " ", " ", " ", " ", " ", " ", " ", " ", " ", " ", " ", " "};

bool HasFourDigitYear(const std::string& shortDateFormat)
{
    return AnsiUpperCase(shortDateFormat).find("YYYY") != std::string::npos;
}

void sConstInitialization(int scrollBarWidth)
{
    static bool done = false;
    if (done)
        return;
    done = true;
    EmptyCacheInfo = TCacheInfo{nullptr, -99, -99, 0, false};
    TransparentKeyColor = clFuchsia;
    ScrollBarWidth = scrollBarWidth;
    FourDigitYear = HasFourDigitYear(QLocale::system().dateFormat(QLocale::ShortFormat).toStdString());
}
