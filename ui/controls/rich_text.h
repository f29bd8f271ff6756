#pragma once
// Texts laid out over several lines: a wrapped text in one font and colour, and a
// mark-up text with runs of their own font and colour, line breaks and clickable links.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/controls/markup_text.h"
#include "ui/controls/wrapped_lines.h"
#include "ui/core/notification.h"
#include "ui/core/plugin.h"
#include "ui/core/wide_text.h"

namespace vexlo::ui {

class duStaticEx : public duPlugin {
public:
    const char16_t* GetTypeName() const override { return u"duStaticEx"; }
    void SetText(const char16_t* text) override;
    void Resize(const gfx::Rect* parent) override;
    void RegisterControlProperty() override;
    void OnCreate() override {}
    void DrawObject(gfx::DrawContext& dc) override;

    const char16_t* GetFont() const { return font_.c_str(); }
    void SetFont(const char16_t* v);
    uint32_t GetTextColor() const { return textColor_; }
    void SetTextColor(uint32_t v) { textColor_ = v; }
    int32_t GetLineSpace() const { return lineSpace_; }
    void SetLineSpace(int32_t v);
    // Builds the lines when there are none and returns their total height.
    int32_t GetTextHeight();
    // The line queries count lines from 1 and build the lines first when needed.
    int32_t GetLineCount();
    // Empty outside 1 .. GetLineCount().
    std::u16string GetLineText(int32_t index);
    // The line's one-line width, and index × (its height + linespace); nothing for an
    // index outside the lines or a missing output.
    void GetLineExtent(int32_t index, int32_t* width, int32_t* height);

private:
    void EnsureLines();
    gfx::Size Measure(std::u16string_view text) const;

    NameField font_;
    int32_t lineSpace_ = 0;
    uint32_t textColor_ = 0;
    int32_t autosize_ = 0;
    std::vector<WrappedLine> lines_;
};

class duXmlStatic : public duPlugin {
public:
    const char16_t* GetTypeName() const override { return u"duXmlStatic"; }
    void SetText(const char16_t* text) override;
    void Resize(const gfx::Rect* parent) override;
    void OnMouseLeave(int32_t x, int32_t y) override;
    void OnMouseLDown(int32_t x, int32_t y) override;
    void OnMouseMove(int32_t x, int32_t y) override;
    int OnSetCursor() override;
    void RegisterControlProperty() override {}
    void OnCreate() override { Rebuild(); }
    void DrawObject(gfx::DrawContext& dc) override;

    // Parses the mark-up again and lays its runs into lines of the control's width.
    void Rebuild();
    const std::vector<MarkupRun>& runs() const { return runs_; }
    const std::vector<MarkupLine>& lines() const { return lines_; }
    int32_t paragraphSpace() const { return paragraphSpace_; }
    // The run of the hovered piece, if any.
    const MarkupRun* HoveredRun() const;
    // The address of the link being clicked, valid while the host handles the click
    // notification (its 32-bit parameters cannot carry an address on this platform);
    // empty otherwise.
    const char16_t* GetClickedHref() const { return clickedHref_.c_str(); }

private:
    struct PieceRef {
        size_t line;
        size_t piece;
        bool operator==(const PieceRef&) const = default;
    };
    std::optional<PieceRef> PieceAt(int32_t x, int32_t y) const;
    bool HasLink(const std::optional<PieceRef>& piece) const;
    void Hover(std::optional<PieceRef> piece);
    gfx::Size Measure(const MarkupRun& run, std::u16string_view text) const;

    int32_t paragraphSpace_ = 0;
    NameField defaultFont_;
    uint32_t defaultColor_ = 0xFFFFFF;
    std::vector<MarkupRun> runs_;
    std::vector<MarkupLine> lines_;
    std::optional<PieceRef> hovered_;
    std::u16string clickedHref_;
};

}  // namespace vexlo::ui
