#include "ui/core/style_group.h"

#include "ui/core/image_resource.h"
#include "ui/core/image_style.h"
#include "ui/core/res_manager.h"
#include "ui/core/shape_styles.h"
#include "ui/core/text_style.h"

namespace vexlo::ui {

uint32_t GreyColor(uint32_t c) {
    const uint32_t g = GreyOf(static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c >> 16));
    return g | (g << 8) | (g << 16);
}

int duStyleGroup::CreateFromXml(const XmlElement& element) {
    static constexpr struct {
        std::u16string_view name;
        int kind;
    } kKinds[] = {{u"image", kStyleImage}, {u"text", kStyleText}, {u"rect", kStyleRect}, {u"line", kStyleLine}};
    for (XmlElement e = element.FirstChild(); e; e = e.NextSibling()) {
        const std::u16string name = e.Name();
        int kind = 0;
        for (const auto& k : kKinds) {
            if (EqualsNoCase(name, k.name)) kind = k.kind;
        }
        if (!kind) continue;
        ObjectPtr<duStyleBase> style = duResManager::MakeStyle(kind, resManager());
        duStyleBase* raw = style.get();
        AddStyle(std::move(style));
        raw->CreateFromXml(e);
    }
    return 1;
}

void duStyleGroup::DrawSelected(gfx::DrawContext& dc, const gfx::Rect& rect, uint32_t state, std::u16string_view text,
                                int alpha, Selection which) {
    for (auto& style : styles_) {
        if ((style->GetState() & state) == 0) continue;
        const bool isText = style->GetStyleType() == kStyleText;
        if ((which == Selection::kWithoutText && isText) || (which == Selection::kTextOnly && !isText)) continue;
        style->Draw(dc, rect, text, alpha);
    }
}

void duStyleGroup::Draw(gfx::DrawContext& dc, const gfx::Rect& rect, uint32_t state, std::u16string_view text,
                        int alpha) {
    DrawSelected(dc, rect, state, text, alpha, Selection::kAll);
}

void duStyleGroup::DrawWithoutText(gfx::DrawContext& dc, const gfx::Rect& rect, uint32_t state,
                                   std::u16string_view text, int alpha) {
    DrawSelected(dc, rect, state, text, alpha, Selection::kWithoutText);
}

void duStyleGroup::DrawTextOnly(gfx::DrawContext& dc, const gfx::Rect& rect, uint32_t state, std::u16string_view text,
                                int alpha) {
    DrawSelected(dc, rect, state, text, alpha, Selection::kTextOnly);
}

void duStyleGroup::DrawStyleGray(duStyleBase& style, gfx::DrawContext& dc, const gfx::Rect& rect,
                                 std::u16string_view text, int alpha) {
    switch (style.GetStyleType()) {
        case kStyleText: {
            auto& t = static_cast<duTextStyle&>(style);
            const uint32_t saved = t.GetTextColor();
            t.SetTextColor(GreyColor(saved));
            t.Draw(dc, rect, text, alpha);
            t.SetTextColor(saved);
            break;
        }
        case kStyleRect: {
            auto& r = static_cast<duRectStyle&>(style);
            if (!r.GetFill() && !r.GetBorder()) break;
            const uint32_t fill = r.GetFillColor();
            const uint32_t border = r.GetBorderColor();
            if (r.GetFill()) r.SetFillColor(GreyColor(fill));
            if (r.GetBorder()) r.SetBorderColor(GreyColor(border));
            r.Draw(dc, rect, text, alpha);
            r.SetFillColor(fill);
            r.SetBorderColor(border);
            break;
        }
        case kStyleLine: {
            auto& l = static_cast<duLineStyle&>(style);
            const uint32_t saved = l.GetColor();
            l.SetColor(GreyColor(saved));
            l.Draw(dc, rect, text, alpha);
            l.SetColor(saved);
            break;
        }
        case kStyleImage: {
            auto& i = static_cast<duImageStyle&>(style);
            duResManager* manager = resManager();
            duImage* image = i.FindImage();
            if (!manager || !image) break;
            ObjectPtr<duImage> grey = image->CreateGrayCopy();
            if (!grey) break;
            // The grey copy stands in for the picture under its random name for this call.
            const std::u16string greyName = grey->GetName();
            ObjectPtr<duResBase> entry(grey.release());
            if (!manager->AddResObj(entry)) break;
            const std::u16string savedPicture = i.GetPicFile();
            i.SetPicFile(greyName.c_str());
            i.Draw(dc, rect, text, alpha);
            i.SetPicFile(savedPicture.c_str());
            manager->DeleteResObj(greyName.c_str(), kResImage);
            break;
        }
        default: break;
    }
}

void duStyleGroup::DrawGray(gfx::DrawContext& dc, const gfx::Rect& rect, uint32_t state, std::u16string_view text,
                            int alpha) {
    for (auto& style : styles_) {
        if (style->GetState() & state) DrawStyleGray(*style, dc, rect, text, alpha);
    }
}

void duStyleGroup::AddStyle(ObjectPtr<duStyleBase> style) {
    if (style) styles_.push_back(std::move(style));
}

int duStyleGroup::DeleteStyle(int32_t index) {
    if (index < 0 || index >= GetStyleCount()) return 0;
    styles_.erase(styles_.begin() + index);
    return 1;
}

duStyleBase* duStyleGroup::GetStyleAt(int32_t index) const {
    if (index < 0 || index >= GetStyleCount()) return nullptr;
    return styles_[static_cast<size_t>(index)].get();
}

void duStyleGroup::MeasureText(uint32_t state, std::u16string_view text, gfx::Size* out) const {
    if (!out) return;
    *out = {};
    for (const auto& style : styles_) {
        if (style->GetStyleType() == kStyleText && (style->GetState() & state)) {
            static_cast<const duTextStyle&>(*style).CalcTextSize(text, out);
            return;
        }
    }
}

int duStyleGroup::MoveStyleUp(int32_t index) {
    if (index <= 0 || index >= GetStyleCount()) return 0;
    std::swap(styles_[static_cast<size_t>(index)], styles_[static_cast<size_t>(index - 1)]);
    return 1;
}

int duStyleGroup::MoveStyleDown(int32_t index) {
    if (index < 0 || index >= GetStyleCount() - 1) return 0;
    std::swap(styles_[static_cast<size_t>(index)], styles_[static_cast<size_t>(index + 1)]);
    return 1;
}

}  // namespace vexlo::ui
