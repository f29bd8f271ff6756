#pragma once
// Enters the button, text and layout classes into the element factory, replacing the
// placeholders of "button", "checkbox", "radio", "tabbutton", "static", "link",
// "layout", "gridlayout", "staticex" and "xmlstatic", now and again at every
// InitUILibrary (the factory's family list keeps them). Safe to call more than once.
namespace vexlo::ui {

void RegisterButtonAndTextControls();

}  // namespace vexlo::ui
