#pragma once
// The modeless dialog made from a dialog template of the executable.
#include "platform/framework/wnd.h"

#include <optional>
#include <string>

namespace vexlo::framework {

inline constexpr uintptr_t IDOK = 1;
inline constexpr uintptr_t IDCANCEL = 2;

// A dialog resource: placement in dialog units, styles, font and caption. The dialogs
// here carry no controls.
struct DialogTemplate {
    uint32_t style = 0;
    uint32_t exStyle = 0;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    std::u16string fontFace;
    int pointSize = 8;
    std::u16string caption;
};

// The updater's dialog: a visible, caption-less popup with the application-window
// extended style, 320 by 200 dialog units, "MS Shell Dlg" at 9 points.
inline constexpr uint32_t kUpdateDialogTemplate = 102;

// The executable's dialog resources (102 is there from the start).
std::optional<DialogTemplate> FindDialogTemplate(uint32_t id);
void RegisterDialogTemplate(uint32_t id, const DialogTemplate& dialog);
// Dialog units to pixels for a template's font: x * base width / 4, y * base height / 8.
gfx::Rect DialogUnitsToPixels(const DialogTemplate& dialog);

class CDialog : public CWnd {
public:
    explicit CDialog(uint32_t templateId = 0, CWnd* parent = nullptr) : templateId_(templateId), parent_(parent) {}

    // Creates the dialog (modeless): the window gets WM_CREATE (OnCreate), then
    // WM_INITDIALOG (OnInitDialog), then is shown when its template says visible.
    bool Create(uint32_t templateId, CWnd* parent = nullptr);
    bool Create() { return Create(templateId_, parent_); }

    virtual bool OnInitDialog() { return true; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // A modeless dialog ended this way is hidden, not destroyed.
    void EndDialog(uintptr_t result);

    intptr_t WindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    intptr_t DefWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

    static constexpr char16_t kDialogClass[] = u"#32770";

private:
    uint32_t templateId_;
    CWnd* parent_;
};

}  // namespace vexlo::framework
