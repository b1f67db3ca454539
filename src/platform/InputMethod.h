#pragma once
// Japanese input on or off for a control.

class QWidget;

// Japanese input on or off for a control (best effort: enables or disables the
// input method and sets input hints; kana mode cannot be forced on). A grid
// switches its editors too. A null widget is left alone.
void SetImeOpen(QWidget* w, bool open);
