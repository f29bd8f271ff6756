#include "ui/core/image_style.h"

#include "ui/core/attribute_values.h"
#include "ui/core/draw_helpers.h"
#include "ui/core/image_resource.h"
#include "ui/core/res_manager.h"

namespace vexlo::ui {

void duImageStyle::SetPicFile(const char16_t* name) {
    if (name) picFile_.Set(name);
    else picFile_.Clear();
}

void duImageStyle::SetPaintMode(const char16_t* mode) {
    if (mode) paintMode_.Set(mode);
    else paintMode_.Clear();
}

int duImageStyle::CreateFromXml(const XmlElement& e) {
    duStyleBase::CreateFromXml(e);
    leftPart_ = ReadIntAttribute(e, u"left_part");
    topPart_ = ReadIntAttribute(e, u"top_part");
    rightPart_ = ReadIntAttribute(e, u"right_part");
    bottomPart_ = ReadIntAttribute(e, u"bottom_part");
    selectLeft_ = ReadIntAttribute(e, u"selectleft");
    selectTop_ = ReadIntAttribute(e, u"selecttop");
    selectWidth_ = ReadIntAttribute(e, u"selectwidth");
    selectHeight_ = ReadIntAttribute(e, u"selectheight");
    ReadTextAttribute(e, u"picfile", picFile_);
    ReadTextAttribute(e, u"paintmode", paintMode_);
    return 1;
}

ObjectPtr<duStyleBase> duImageStyle::Clone() const {
    ObjectPtr<duImageStyle> c(new duImageStyle(*this));
    CopyBaseTo(*c);
    return c;
}

duImage* duImageStyle::FindImage() const {
    duResManager* m = resManager();
    return m ? dynamic_cast<duImage*>(m->GetResObj(picFile_.c_str(), kResImage)) : nullptr;
}

gfx::Rect duImageStyle::SourceRect(int imageWidth, int imageHeight) const {
    const gfx::Rect image{0, 0, imageWidth, imageHeight};
    const gfx::Rect selected = gfx::Rect::FromXYWH(selectLeft_, selectTop_, selectWidth_, selectHeight_);
    if (selected.IsEmpty()) return image;
    return selected.Intersect(image);
}

void duImageStyle::Draw(gfx::DrawContext& dc, const gfx::Rect& rect, std::u16string_view, int alpha) {
    if (alpha <= 0) return;
    const uint8_t a = static_cast<uint8_t>(std::min(alpha, 255));
    duImage* image = FindImage();
    if (!image || !image->GetHBitmap()) return;
    const gfx::Rect d = PlaceStyleRect(rect);
    const gfx::Rect s = SourceRect(image->GetWidth(), image->GetHeight());
    if (d.IsEmpty() || s.IsEmpty()) return;
    const std::u16string_view mode = paintMode_.view();
    if (EqualsNoCase(mode, u"normal")) {
        if (s.width() >= d.width() && s.height() >= d.height()) {
            BlitImage(image, dc, d.left, d.top, d.width(), d.height(), s.left, s.top, a);
        } else {
            BlitImage(image, dc, d.left, d.top, s.width(), s.height(), s.left, s.top, a);
        }
    } else if (EqualsNoCase(mode, u"tile")) {
        TileImage(image, dc, d, s, a);
    } else if (EqualsNoCase(mode, u"stretch")) {
        StretchImage(image, dc, d, s, a);
    } else if (EqualsNoCase(mode, u"stretchvert")) {
        DrawThreePartVert(image, dc, d, s, topPart_, bottomPart_, a);
    } else if (EqualsNoCase(mode, u"stretchhorz")) {
        DrawThreePartHorz(image, dc, d, s, leftPart_, rightPart_, a);
    } else if (EqualsNoCase(mode, u"stretchpartall")) {
        DrawNinePart(image, dc, d, s, leftPart_, topPart_, rightPart_, bottomPart_, a);
    }
}

}  // namespace vexlo::ui
