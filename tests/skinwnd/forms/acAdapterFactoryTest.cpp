#include "skinwnd/forms/acAdapterFactory.h"

#include "skin/forms/acSkinStartup.h"
#include "skinwnd/forms/acMainWnd.h"
#include "skinwnd/forms/acSBUtils.h"
#include "skinwnd/forms/acTabControlWnd.h"

#include <QTabWidget>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <typeinfo>

TEST(acAdapterFactory, EveryKindIsMadeAndAttached)
{
    SkinLibraryInitialization();
    std::set<std::string> names;
    for (int k = 0; k <= int(TacAdapterKind::DialogWnd); ++k) {
        const auto kind = TacAdapterKind(k);
        const std::string name = AdapterClassName(kind);
        SCOPED_TRACE(name);
        EXPECT_EQ(name.rfind("Tac", 0), 0u);
        EXPECT_TRUE(names.insert(name).second);
        QTabWidget w;
        TacMainWnd* adapter = CreateWndAdapter(kind, &w, false, "", nullptr, nullptr);
        ASSERT_NE(adapter, nullptr);
        EXPECT_EQ(GetAdapterOf(&w), adapter);
        // A kind whose class is not built is the plain base adapter.
        if (!AdapterKindBuilt(kind)) {
            EXPECT_EQ(typeid(*adapter), typeid(TacMainWnd));
        }
        DetachWnd(&w, true, adapter);
        EXPECT_EQ(GetAdapterOf(&w), nullptr);
    }
    EXPECT_EQ(CreateWndAdapter(TacAdapterKind::EditWnd, nullptr, false, "", nullptr, nullptr), nullptr);
}

TEST(acAdapterFactory, BuiltKindsAreTheirOwnClasses)
{
    SkinLibraryInitialization();
    struct Case {
        TacAdapterKind kind;
        const std::type_info& type;
    };
    const Case cases[] = {
        {TacAdapterKind::MainWnd, typeid(TacMainWnd)},
        {TacAdapterKind::TabControlWnd, typeid(TacTabControlWnd)},
        {TacAdapterKind::PageControlWnd, typeid(TacPageControlWnd)},
        {TacAdapterKind::PageWnd, typeid(TacPageWnd)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(AdapterClassName(c.kind));
        EXPECT_TRUE(AdapterKindBuilt(c.kind));
        QTabWidget w;
        TacMainWnd* adapter = CreateWndAdapter(c.kind, &w, false, "", nullptr, nullptr);
        EXPECT_EQ(typeid(*adapter), c.type);
        DetachWnd(&w, true, adapter);
    }
}
