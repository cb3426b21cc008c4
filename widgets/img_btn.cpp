#include "widgets/img_btn.h"

#include "toolkit/form.h"
#include "toolkit/form_loader.h"

TImgBtn::TImgBtn(TForm* owner) : TImage(owner) {
  SetAccessibleRole(TAccessibleRole::PushButton);
}

void TImgBtn::SetPic(const TPicture& picture) {
  Show(picture);
  pic_ = picture;
}

void TImgBtn::SetPicDisable(const TPicture& picture) {
  picDisable_ = picture;
  if (!Enabled()) Show(picture);
}

void TImgBtn::SetEnabled(bool enabled) {
  TImage::SetEnabled(enabled);
  Show(enabled ? picUp_ : picDisable_);
}

void TImgBtn::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_MOUSEENTER:
      return PointerEnter(message);
    case CM_MOUSELEAVE:
      return PointerLeave(message);
    case WM_LBUTTONDOWN:
      return ButtonDown(message);
    case WM_LBUTTONUP:
      return ButtonUp(message);
    default:
      return TImage::WndProc(message);
  }
}

void TImgBtn::Fire(const TOnMouseEvent& handler, const TMessage& message) {
  if (handler) handler(TWMMouse::From(message));
}

void TImgBtn::PointerEnter(const TMessage& message) {
  if (!Active()) return;
  hovered_ = true;
  Show(pressed_ ? picDown_ : picUp_);
  Fire(OnMouseEnter, message);
}

void TImgBtn::PointerLeave(const TMessage& message) {
  if (!Active()) return;
  hovered_ = false;
  Show(pic_);
  Fire(OnMouseLeave, message);
}

void TImgBtn::ButtonDown(TMessage& message) {
  TImage::WndProc(message);  // capture and click tracking, whatever the state
  if (!Active()) return;
  pressed_ = true;
  if (hovered_) Show(picDown_);
  Fire(OnMouseDown, message);
}

void TImgBtn::ButtonUp(TMessage& message) {
  // The click runs here, to its end, while the pressed face is still shown.
  TImage::WndProc(message);
  if (!Active()) return;
  pressed_ = false;
  if (hovered_) Show(picUp_);
  Fire(OnMouseUp, message);
}

void TImgBtn::ApplyProperty(const TLayoutProperty& property, TLayoutContext& context) {
  if (context.BindEvent(property, "OnMouseEnter", OnMouseEnter) ||
      context.BindEvent(property, "OnMouseLeave", OnMouseLeave) ||
      context.BindEvent(property, "OnMouseDown", OnMouseDown) ||
      context.BindEvent(property, "OnMouseUp", OnMouseUp))
    return;
  const std::string& name = property.name;
  if (name == "Enabled") {
    SetEnabled(property.Bool());
  } else if (name == "Pic") {
    pic_ = context.Picture(property);
  } else if (name == "PicDown") {
    picDown_ = context.Picture(property);
  } else if (name == "PicUp") {
    picUp_ = context.Picture(property);
  } else if (name == "PicDisable") {
    picDisable_ = context.Picture(property);
  } else if (name == "Supported") {
    supported_ = property.Bool();
  } else {
    TImage::ApplyProperty(property, context);
  }
}

void RegisterImgBtn(TClassRegistry& classes) {
  classes.Add("TImgBtn", [](TForm& form) { return std::make_unique<TImgBtn>(&form); });
}
