#include "skinwnd/forms/sSkinProvider.h"

#include "AdapterTestSkin.h"

#include <QPalette>

#include <functional>

using namespace adaptertest;

namespace {

TColor WindowColour(const QWidget& w) { return ColorFromQColor(w.palette().color(QPalette::Window)); }

} // namespace

TEST(TsSkinProviderColor, UseGlobalColorRecoloursTheFormAtOnce)
{
    SkinScope scope;
    const TColor global = scope.manager->GetGlobalColor();
    struct Form {
        const char* what;
        bool ownPalette;
    };
    for (const Form& kind : {Form{"system colours", false}, Form{"a palette of its own", true}}) {
        SCOPED_TRACE(kind.what);
        QWidget form;
        if (kind.ownPalette) {
            QPalette own = form.palette();
            own.setColor(QPalette::Window, QColor(10, 120, 30));
            form.setPalette(own);
        }
        const TColor original = WindowColour(form);
        ASSERT_NE(original, global);
        auto* provider = new TsSkinProvider(&form);
        form.show();
        QApplication::processEvents();
        ASSERT_TRUE(provider->SkinData().Skinned());
        EXPECT_TRUE(provider->UseGlobalColor());
        EXPECT_EQ(WindowColour(form), global);

        // Each step: what changes, then the colour the form shows.
        struct Step {
            const char* what;
            std::function<void()> change;
            TColor expected;
        };
        const Step steps[] = {
            {"switched off", [&] { provider->SetUseGlobalColor(false); }, original},
            {"switched on", [&] { provider->SetUseGlobalColor(true); }, global},
            {"a colour of the control's own", [&] {
                 provider->SkinData().SetCustomColor(true);
                 provider->SetUseGlobalColor(true);
             },
             original},
            {"the skin's colour again", [&] {
                 provider->SkinData().SetCustomColor(false);
                 provider->SetUseGlobalColor(true);
             },
             global},
            {"off, then the skin refreshed", [&] {
                 provider->SetUseGlobalColor(false);
                 scope.manager->SetSkinName("Tarku");
             },
             original},
            {"skin removed, then on", [&] {
                 scope.manager->SetActive(false);
                 provider->SetUseGlobalColor(true);
             },
             original},
            {"skin back", [&] { scope.manager->SetActive(true); }, global},
        };
        for (const Step& s : steps) {
            s.change();
            QApplication::processEvents();
            EXPECT_EQ(WindowColour(form), s.expected) << s.what;
            if (s.expected == original) {
                EXPECT_EQ(form.testAttribute(Qt::WA_SetPalette), kind.ownPalette) << s.what;
            }
        }
        delete provider;
    }
}
