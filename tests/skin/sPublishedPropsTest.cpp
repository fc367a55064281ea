#include "skin/sPublishedProps.h"

#include <QObject>

#include <gtest/gtest.h>

class TPropHolder : public QObject {
    Q_OBJECT
public:
    enum Style { Bold = 1, Italic = 2, BoldItalic = 4, Underline = 8 };
    Q_DECLARE_FLAGS(Styles, Style)
    Q_FLAG(Styles)
    enum Align { Left, Right };
    Q_ENUM(Align)
    Q_PROPERTY(Styles styles READ getStyles WRITE setStyles)
    Q_PROPERTY(Align align MEMBER align)
    Q_PROPERTY(int count MEMBER count)
    Q_PROPERTY(bool flag MEMBER flag)
    Q_PROPERTY(QString text MEMBER text)
    Q_PROPERTY(QObject* buddy MEMBER buddy)

public:
    Styles getStyles() const { return styles; }
    void setStyles(Styles value) { styles = value; }
    Styles styles = Bold;
    Align align = Right;
    int count = 7;
    bool flag = true;
    QString text = "x";
    QObject* buddy = nullptr;
};

TEST(PublishedProps, ReadAndWriteByName)
{
    TPropHolder h;
    QObject other;
    h.buddy = &other;
    EXPECT_TRUE(HasPublishedProp(&h, "count"));
    EXPECT_FALSE(HasPublishedProp(&h, "Count"));
    EXPECT_FALSE(HasPublishedProp(nullptr, "count"));
    struct Case {
        const char* name;
        int value;
    } cases[] = {{"count", 7}, {"align", 1}, {"flag", 1}, {"styles", 1}, {"text", -1}, {"missing", -1}};
    for (const Case& c : cases)
        EXPECT_EQ(GetPublishedOrdProp(&h, c.name), c.value) << c.name;
    EXPECT_EQ(GetPublishedObjectProp(&h, "buddy"), &other);
    EXPECT_EQ(GetPublishedObjectProp(&h, "count"), nullptr);
    SetPublishedOrdProp(&h, "count", 12);
    SetPublishedOrdProp(&h, "flag", 0);
    SetPublishedOrdProp(&h, "text", 5);
    EXPECT_EQ(h.count, 12);
    EXPECT_FALSE(h.flag);
    EXPECT_EQ(h.text, "x");
}

TEST(PublishedProps, FlagSetsByWholeNames)
{
    TPropHolder h;
    h.styles = TPropHolder::Styles(TPropHolder::Bold | TPropHolder::BoldItalic);
    EXPECT_TRUE(SetPropHasElement(&h, "styles", "Bold"));
    EXPECT_TRUE(SetPropHasElement(&h, "styles", "BoldItalic"));
    EXPECT_FALSE(SetPropHasElement(&h, "styles", "Italic"));
    EXPECT_FALSE(SetPropHasElement(&h, "count", "Bold"));
    struct Step {
        const char* element;
        bool include;
        int expected;
    } steps[] = {
        {"Bold", false, TPropHolder::BoldItalic}, // a name inside another one is not touched
        {"Italic", true, TPropHolder::BoldItalic | TPropHolder::Italic},
        {"Italic", true, TPropHolder::BoldItalic | TPropHolder::Italic},
        {"Nothing", true, TPropHolder::BoldItalic | TPropHolder::Italic},
        {"BoldItalic", false, TPropHolder::Italic},
        {"Italic", false, 0},
        {"Underline", true, TPropHolder::Underline},
    };
    for (const Step& s : steps) {
        ChangeSetPropElement(&h, "styles", s.element, s.include);
        EXPECT_EQ(int(h.styles), s.expected) << s.element << " " << s.include;
    }
}

#include "sPublishedPropsTest.moc"
