// qLabel: a caption drawn twice by two transparent windowless labels, the
// text (Label1) over its shadow (Label2), one offset from the other by
// Shadow units of the surface.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/color.h"
#include "library/control.h"
#include "platform/platform.h"

namespace qs {

class qLabel : public Control {
 public:
  // Dispatch ids of the events, in the order of the event interface. All
  // are relayed from the text label only.
  static constexpr int kClickEvent = 1;
  static constexpr int kDblClickEvent = 2;
  static constexpr int kMouseDownEvent = 3;
  static constexpr int kMouseMoveEvent = 4;
  static constexpr int kMouseUpEvent = 5;

  // Colours of the labels as made; the store's default for both is button text.
  static constexpr OleColor kTextDesignColor = 0x80000010u;
  static constexpr OleColor kShadowDesignColor = 0x80000012u;

  // Creates both labels with their design captions, colours and places;
  // Shadow is 0 until InitProperties or ReadProperties.
  qLabel(std::unique_ptr<Surface> surface, Host& host);
  ~qLabel() override;

  // Shadow 1; nothing else, no layout.
  void InitProperties() override;
  // Reads the nine keys in order, gives the shadow the text's caption,
  // enabled state and font, and lays out once. Notifies nothing.
  void ReadProperties(PropertyBag& bag) override;
  // Writes the nine keys in order; the shadow's caption, font and enabled
  // state are rebuilt from the text's on reading.
  void WriteProperties(PropertyBag& bag) override;
  // Sizes both labels to the surface, offsets one of them and repaints.
  void Resize() override;

  // Repaints the surface at once.
  void Refresh();

  // The surface's.
  OleColor BackColor() const;
  void set_BackColor(OleColor color);
  // The text's colour; the shadow keeps its own.
  OleColor ForeColor() const;
  void set_ForeColor(OleColor color);
  // Read from the text; set on both labels.
  bool Enabled() const;
  void set_Enabled(bool enabled);
  // Read from the text; both labels share the assigned font object. No
  // font object fails with 380.
  FontRef Font() const;
  void set_Font(FontRef font);
  // The surface's: 0 transparent, 1 opaque; another value fails with 380.
  int16_t BackStyle() const;
  void set_BackStyle(int16_t style);
  // The surface's: 0 none, 1 fixed single; another value fails with 380.
  int16_t BorderStyle() const;
  void set_BorderStyle(int16_t style);
  // The offset in surface units: positive puts the shadow to the lower
  // right of the text, negative the text to the lower right of the shadow.
  // Notifies, then lays out.
  int16_t Shadow() const;
  void set_Shadow(int16_t shadow);
  // The shadow's colour.
  OleColor ShadowColor() const;
  void set_ShadowColor(OleColor color);
  // Read from the text; set on the text, then the shadow.
  std::u16string Caption() const;
  void set_Caption(const std::u16string& caption);

  // The child elements, for drivers and tests.
  Label& Label1() { return *label1_; }
  Label& Label2() { return *label2_; }

 private:
  void layout();

  Label* label2_ = nullptr;
  Label* label1_ = nullptr;
  int16_t shadow_ = 0;
};

}  // namespace qs
