#include "ui/controls/rich_text.h"

#include "platform/text/font.h"
#include "ui/controls/control_services.h"
#include "ui/core/debug_print.h"
#include "ui/core/draw_helpers.h"
#include "ui/core/font_resource.h"
#include "ui/core/object.h"
#include "ui/core/plugin_registry.h"
#include "ui/core/property_group.h"
#include "ui/core/state.h"
#include "ui/core/style_group.h"

namespace vexlo::ui {
namespace {

gfx::Rect RectOf(const duPlugin& plugin) {
    gfx::Rect r;
    plugin.GetRect(&r);
    return r;
}

gfx::Rect LocalRect(const duPlugin& plugin) {
    const gfx::Rect r = RectOf(plugin);
    return {0, 0, r.width(), r.height()};
}

// An underlined copy of a font (of the default interface font when there is none),
// for the pieces of a hovered link.
ObjectPtr<duFont> UnderlinedCopy(const duFont* font) {
    text::FontPtr base = font ? font->GetHFont() : nullptr;
    if (!base) base = text::Font::DefaultGui();
    text::FontRequest request = base->request();
    request.underline = true;
    ObjectPtr<duFont> copy(new duFont());
    copy->SetHFont(text::Font::Create(request));
    return copy;
}

}  // namespace

// ---- duStaticEx ----------------------------------------------------------------------

void duStaticEx::SetText(const char16_t* text) {
    duPlugin::SetText(text);
    lines_.clear();
}

void duStaticEx::SetFont(const char16_t* v) {
    font_.Set(v ? v : u"");
    lines_.clear();
}

void duStaticEx::SetLineSpace(int32_t v) {
    lineSpace_ = v;
    lines_.clear();
}

void duStaticEx::Resize(const gfx::Rect* parent) {
    const gfx::Size before = RectOf(*this).size();
    duPlugin::Resize(parent);
    if (RectOf(*this).size() != before) lines_.clear();
}

gfx::Size duStaticEx::Measure(std::u16string_view text) const {
    return MeasureTextSize(controls::FontNamed(*this, font_.view()), text, true);
}

void duStaticEx::EnsureLines() {
    if (!lines_.empty()) return;
    const gfx::Rect r = RectOf(*this);
    lines_ = WrapText(GetText(), r.width(), r.height(), lineSpace_,
                      [this](std::u16string_view text) { return Measure(text); });
}

int32_t duStaticEx::GetTextHeight() {
    EnsureLines();
    return WrappedHeight(lines_);
}

int32_t duStaticEx::GetLineCount() {
    EnsureLines();
    return static_cast<int32_t>(lines_.size());
}

std::u16string duStaticEx::GetLineText(int32_t index) {
    EnsureLines();
    if (index < 1 || index > static_cast<int32_t>(lines_.size())) return {};
    return lines_[static_cast<size_t>(index - 1)].text;
}

void duStaticEx::GetLineExtent(int32_t index, int32_t* width, int32_t* height) {
    if (!width || !height) return;
    EnsureLines();
    if (index < 1 || index > static_cast<int32_t>(lines_.size())) return;
    const gfx::Size size = Measure(lines_[static_cast<size_t>(index - 1)].text);
    *width = size.width;
    *height = gfx::SaturateToInt(int64_t{index} * (int64_t{size.height} + lineSpace_));
}

void duStaticEx::RegisterControlProperty() {
    duPropertyGroup* group = propertyGroup();
    if (!group) return;
    group->AddProperty(kPropertyFont, 0, u"font", TextField(font_));
    group->AddProperty(kPropertyInt, 0, u"linespace", &lineSpace_);
    group->AddProperty(kPropertyColor, 0, u"textcolor", &textColor_);
    group->AddProperty(kPropertyBool, 0, u"autosize", &autosize_);
}

void duStaticEx::DrawObject(gfx::DrawContext& dc) {
    const gfx::Rect local = LocalRect(*this);
    if (duStyleGroup* style = controls::StyleGroupOf(*this)) style->Draw(dc, local, kStateAll, u"", GetAlpha());
    EnsureLines();
    const duFont* font = controls::FontNamed(*this, font_.view());
    for (const WrappedLine& line : lines_) {
        const gfx::Rect rect{0, line.top, local.right, gfx::SaturatingAdd(line.top, line.height)};
        DrawTextAlpha(dc, font, textColor_, line.text, rect, kTextSingleLine);
    }
}

// ---- duXmlStatic ---------------------------------------------------------------------

void duXmlStatic::SetText(const char16_t* text) {
    duPlugin::SetText(text);
    Rebuild();
}

void duXmlStatic::Resize(const gfx::Rect* parent) {
    duPlugin::Resize(parent);
    Rebuild();
}

gfx::Size duXmlStatic::Measure(const MarkupRun& run, std::u16string_view text) const {
    const std::u16string_view fontName = run.kind == RunKind::kStyled ? std::u16string_view(run.font)
                                                                       : defaultFont_.view();
    return MeasureTextSize(controls::FontNamed(*this, fontName), text, true);
}

void duXmlStatic::Rebuild() {
    runs_.clear();
    lines_.clear();
    hovered_.reset();
    paragraphSpace_ = 0;
    defaultFont_.Clear();
    defaultColor_ = 0xFFFFFF;
    std::optional<MarkupDocument> document = ParseMarkup(GetText());
    if (!document) return;
    paragraphSpace_ = document->paragraphSpace;
    defaultFont_.Set(document->font);
    defaultColor_ = document->color;
    runs_ = std::move(document->runs);
    auto measure = [this](const MarkupRun& run, std::u16string_view text) { return Measure(run, text); };
    MeasureRuns(runs_, measure);
    lines_ = LayoutMarkup(runs_, RectOf(*this).width(), measure);
}

std::optional<duXmlStatic::PieceRef> duXmlStatic::PieceAt(int32_t x, int32_t y) const {
    const gfx::Rect r = RectOf(*this);
    const int32_t lx = x - r.left;
    const int32_t ly = y - r.top;
    std::optional<PieceRef> found;
    ForEachPlacedPiece(lines_, paragraphSpace_, [&](const PlacedPiece& placed) {
        if (!placed.rect.Contains(lx, ly)) return true;
        found = PieceRef{placed.line, placed.piece};
        return false;
    });
    return found;
}

const MarkupRun* duXmlStatic::HoveredRun() const {
    if (!hovered_) return nullptr;
    return &runs_[lines_[hovered_->line].pieces[hovered_->piece].run];
}

bool duXmlStatic::HasLink(const std::optional<PieceRef>& piece) const {
    if (!piece) return false;
    const MarkupRun& run = runs_[lines_[piece->line].pieces[piece->piece].run];
    return !run.href.empty();
}

void duXmlStatic::Hover(std::optional<PieceRef> piece) {
    if (piece == hovered_) return;
    const bool redraw = HasLink(hovered_) || HasLink(piece);
    hovered_ = piece;
    if (redraw) controls::Redraw(this, true);
}

void duXmlStatic::OnMouseMove(int32_t x, int32_t y) { Hover(PieceAt(x, y)); }

void duXmlStatic::OnMouseLeave(int32_t, int32_t) { Hover(std::nullopt); }

int duXmlStatic::OnSetCursor() {
    if (HasLink(hovered_)) return duPlugin::OnSetCursor();
    controls::UseArrowCursor();
    return 1;
}

void duXmlStatic::OnMouseLDown(int32_t, int32_t) {
    if (!HasLink(hovered_)) {
        DebugPrint(u"IsHrefSegment false\n");
        return;
    }
    // The host may set a new text (freeing the runs) or delete the control while it
    // handles the click, so the address it reads is a copy held for the call.
    clickedHref_ = HoveredRun()->href;
    const PluginRef self(this);
    controls::Notify(this, kNotifyXmlStaticHrefClick, 0, 0);
    if (!self.alive()) {
        DebugPrint(u"IsHrefSegment true\n");
        return;
    }
    clickedHref_.clear();
    controls::Redraw(this, true);
    DebugPrint(u"IsHrefSegment true\n");
}

void duXmlStatic::DrawObject(gfx::DrawContext& dc) {
    if (duStyleGroup* style = controls::StyleGroupOf(*this)) {
        style->DrawWithoutText(dc, LocalRect(*this), GetState(), u"", GetAlpha());
    }
    const duFont* defaultFont = controls::FontNamed(*this, defaultFont_.view());
    const std::optional<size_t> linkRun =
        HasLink(hovered_) ? std::optional<size_t>(lines_[hovered_->line].pieces[hovered_->piece].run) : std::nullopt;
    ObjectPtr<duFont> underlined;
    ForEachPlacedPiece(lines_, paragraphSpace_, [&](const PlacedPiece& placed) {
        const MarkupPiece& piece = lines_[placed.line].pieces[placed.piece];
        const MarkupRun& run = runs_[piece.run];
        if (run.kind == RunKind::kLineBreak || piece.count == 0) return true;
        const bool styled = run.kind == RunKind::kStyled;
        const duFont* font = styled ? controls::FontNamed(*this, run.font) : defaultFont;
        if (linkRun && *linkRun == piece.run) {
            if (!underlined) underlined = UnderlinedCopy(font);
            font = underlined.get();
        }
        const uint32_t color = styled ? run.color : defaultColor_;
        DrawTextAlpha(dc, font, color, std::u16string_view(run.text).substr(piece.start, piece.count), placed.rect,
                      kTextSingleLine);
        return true;
    });
}

}  // namespace vexlo::ui
