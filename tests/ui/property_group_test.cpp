#include <gtest/gtest.h>

#include "ui/core/attribute_values.h"
#include "ui/core/property_group.h"

namespace vexlo::ui {
namespace {

ElementRef ParseElement(std::u16string_view xml) {
    auto doc = SkinDocument::Parse(xml);
    XmlElement e;
    for (const char16_t* name : {u"c", u"button"}) {
        if ((e = doc->TopLevel(name))) break;
    }
    return {doc, e};
}

TEST(PropertyGroup, ConvertsEveryKindIntoItsDestination) {
    ElementRef e = ParseElement(
        u"<c n=\"-12px\" f=\"2.5\" d=\"1e3\" col=\"RGB(14,151,230)\" lower=\"rgb(1,2,3)\" t=\"hello\" "
        u"yes=\"true\" cap=\"True\" img=\"logo\" long=\"" + std::u16string(300, u'z') + u"\" empty=\"\"/>");
    duPropertyGroup g(e);
    int32_t n = 0, yes = 0, cap = 5, keep = 9;
    float f = 0;
    double d = 0;
    uint32_t col = 1, lower = 1;
    WideField<128> text, img, longText;
    std::u16string whole;
    EXPECT_EQ(g.AddProperty(kPropertyInt, 0, u"N", &n), 1);
    EXPECT_EQ(g.AddProperty(kPropertyFloat, 0, u"f", &f), 1);
    EXPECT_EQ(g.AddProperty(kPropertyDouble, 0, u"d", &d), 1);
    EXPECT_EQ(g.AddProperty(kPropertyColor, 0, u"col", &col), 1);
    EXPECT_EQ(g.AddProperty(kPropertyColor, 0, u"lower", &lower), 1);
    EXPECT_EQ(g.AddProperty(kPropertyText, 0, u"t", TextField(text)), 1);
    EXPECT_EQ(g.AddProperty(kPropertyBool, 0, u"yes", &yes), 1);
    EXPECT_EQ(g.AddProperty(kPropertyBool, 0, u"cap", &cap), 1);
    EXPECT_EQ(g.AddProperty(kPropertyImage, 0, u"img", TextField(img)), 1);
    EXPECT_EQ(g.AddProperty(kPropertyText, 0, u"long", TextField(longText)), 1);
    EXPECT_EQ(g.AddProperty(9, 0, u"long", &whole), 1) << "kind 9 reads as text";
    EXPECT_EQ(g.AddProperty(kPropertyInt, 0, u"empty", &keep), 1);
    EXPECT_EQ(g.ParseProperties(), 1);
    EXPECT_EQ(n, -12);
    EXPECT_FLOAT_EQ(f, 2.5f);
    EXPECT_DOUBLE_EQ(d, 1000.0);
    EXPECT_EQ(col, 15111950u);
    EXPECT_EQ(lower, 0u) << "the letters must be RGB as written";
    EXPECT_EQ(text.view(), u"hello");
    EXPECT_EQ(yes, 1);
    EXPECT_EQ(cap, 5) << "the group compares booleans exactly";
    EXPECT_EQ(img.view(), u"logo");
    EXPECT_EQ(longText.view(), std::u16string(127, u'z')) << "cut to the field";
    EXPECT_EQ(whole.size(), 300u);
    EXPECT_EQ(keep, 9) << "an empty value leaves the destination";
}

TEST(PropertyGroup, RefusesBadDeclarations) {
    duPropertyGroup g(ParseElement(u"<c/>"));
    int32_t i = 0;
    uint32_t u = 0;
    for (uint16_t kind : {0, 7, 10, 11, 12, 13, 14, 15, 22, 100}) {
        EXPECT_EQ(g.AddProperty(kind, 0, u"a", &i), 0) << kind;
    }
    EXPECT_EQ(g.AddProperty(kPropertyInt, 0, nullptr, &i), 0);
    EXPECT_EQ(g.AddProperty(kPropertyInt, 0, u"a", static_cast<int32_t*>(nullptr)), 0);
    EXPECT_EQ(g.AddProperty(kPropertyColor, 0, u"a", &i), 0) << "a colour needs a colour field";
    EXPECT_EQ(g.AddProperty(kPropertyText, 0, u"a", &u), 0);
    EXPECT_EQ(g.count(), 0u);
    for (uint16_t kind : {8, 17, 21}) EXPECT_EQ(g.AddProperty(kind, 0, u"a", std::make_unique<std::u16string>().get()), 1);

    duPropertyGroup none(ElementRef{});
    EXPECT_EQ(none.ParseProperties(), 0);
}

TEST(PropertyGroup, KeepsItsDocumentAlive) {
    int32_t n = 0;
    std::unique_ptr<duPropertyGroup> g;
    {
        ElementRef e = ParseElement(u"<c n=\"4\"/>");
        g = std::make_unique<duPropertyGroup>(e);
    }  // the last other owner of the document is gone
    g->AddProperty(kPropertyInt, 0, u"n", &n);
    EXPECT_EQ(g->ParseProperties(), 1);
    EXPECT_EQ(n, 4);
}

}  // namespace
}  // namespace vexlo::ui
