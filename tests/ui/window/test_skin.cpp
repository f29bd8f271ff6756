#include "tests/ui/window/test_skin.h"

#include "tests/ui/window/skin_window_fixture.h"

namespace vexlo::ui::testing {

std::u16string TestSkin(std::u16string_view windowAttributes, std::u16string_view extra) {
    const std::u16string theme =
        u"<dsstyle>"
        u"<style name=\"win_style\"><rect fillcolor=\"RGB(230,230,230)\" fill=\"true\" border=\"true\" "
        u"bordercolor=\"RGB(0,0,0)\" borderwidth=\"1\" bordertype=\"solid\" state=\"all\"/></style>"
        u"<style name=\"panel_style\"><rect fillcolor=\"RGB(200,210,255)\" fill=\"true\" state=\"all\"/></style>"
        u"<style name=\"label_style\"><rect fillcolor=\"RGB(0,160,0)\" fill=\"true\" state=\"all\"/></style>"
        u"<style name=\"btn_style\"><rect fillcolor=\"RGB(0,90,255)\" fill=\"true\" state=\"normal\"/>"
        u"<rect fillcolor=\"RGB(255,140,0)\" fill=\"true\" state=\"over\"/>"
        u"<rect fillcolor=\"RGB(128,128,128)\" fill=\"true\" state=\"disable\"/></style>"
        u"<style name=\"red_style\"><rect fillcolor=\"RGB(255,0,0)\" fill=\"true\" state=\"all\"/></style>"
        u"</dsstyle>";
    std::u16string controls = u"<ducontrol><duwindow name=\"w\" width=\"120\" height=\"60\" x=\"10\" y=\"20\" "
                              u"style=\"win_style\" ";
    if (windowAttributes.find(u"layered") == std::u16string_view::npos) controls += u"layered=\"true\" ";
    controls += windowAttributes;
    controls +=
        u">"
        u"<layout name=\"panel\" left=\"2\" top=\"2\" right=\"2\" bottom=\"2\" horzanchor=\"2\" vertanchor=\"2\" "
        u"style=\"panel_style\">"
        u"<static name=\"label\" left=\"5\" top=\"5\" width=\"40\" height=\"20\" horzanchor=\"3\" vertanchor=\"3\" "
        u"style=\"label_style\"/>"
        u"<button name=\"ok\" left=\"50\" top=\"5\" width=\"30\" height=\"20\" horzanchor=\"3\" vertanchor=\"3\" "
        u"style=\"btn_style\"/>"
        u"<button name=\"cancel\" left=\"-35\" top=\"25\" width=\"30\" height=\"20\" horzanchor=\"0\" "
        u"vertanchor=\"3\" style=\"btn_style\"/>";
    controls += extra;
    controls += u"</layout></duwindow></ducontrol>";
    return Description(theme, controls);
}

}  // namespace vexlo::ui::testing
