#pragma once
// TImgBtn: a picture control with four stored faces (normal, hover, pressed, disabled) that
// follow the pointer. On every change of state it shows one whole face; it paints nothing of
// its own and has no window.

#include <functional>

#include "toolkit/image.h"

// A handler of the button's own pointer events, given the message being processed. For the
// enter and leave notifications the key and position fields hold no pointer state.
using TOnMouseEvent = std::function<void(TWMMouse Msg)>;

class TImgBtn : public TImage {
 public:
  explicit TImgBtn(TForm* owner);

  bool Hovered() const { return hovered_; }
  bool Pressed() const { return pressed_; }

  const TPicture& Pic() const { return pic_; }
  const TPicture& PicDown() const { return picDown_; }
  const TPicture& PicUp() const { return picUp_; }
  const TPicture& PicDisable() const { return picDisable_; }
  // Shows `picture` at once, whatever the state, then keeps it as the normal face.
  void SetPic(const TPicture& picture);
  // Keep the face only; what is shown does not change.
  void SetPicDown(const TPicture& picture) { picDown_ = picture; }
  void SetPicUp(const TPicture& picture) { picUp_ = picture; }
  // Keeps the face, and shows it if the button is disabled.
  void SetPicDisable(const TPicture& picture);

  // The base control's enabled state, which every change passes through SetEnabled.
  bool Enabled() const { return BaseEnabled(); }
  // Passes the state to the base control and shows the hover face when enabling (whatever the
  // pointer does) or the disabled face when disabling.
  void SetEnabled(bool enabled) override;

  bool Supported() const { return supported_; }
  void SetSupported(bool supported) { supported_ = supported; }

  void WndProc(TMessage& message) override;
  // Enabled runs the setter; the four faces load straight into the stored faces without being
  // shown; Supported and the four pointer events are stored.
  void ApplyProperty(const TLayoutProperty& property, TLayoutContext& context) override;

  TOnMouseEvent OnMouseEnter;
  TOnMouseEvent OnMouseLeave;
  TOnMouseEvent OnMouseDown;
  TOnMouseEvent OnMouseUp;

 private:
  // The pointer handlers do their own work only for an enabled, supported button.
  bool Active() const { return Enabled() && supported_; }
  void Show(const TPicture& face) { SetPicture(face); }
  // The messages WndProc handles, one each.
  void PointerEnter(const TMessage& message);
  void PointerLeave(const TMessage& message);
  void ButtonDown(TMessage& message);
  void ButtonUp(TMessage& message);
  static void Fire(const TOnMouseEvent& handler, const TMessage& message);

  bool hovered_ = false;
  bool pressed_ = false;
  TPicture pic_;
  TPicture picDown_;
  TPicture picUp_;
  TPicture picDisable_;
  bool supported_ = true;
};

class TClassRegistry;
void RegisterImgBtn(TClassRegistry& classes);
