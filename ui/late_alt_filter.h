#pragma once

class QMenu;

namespace tandrel::ui {

// Keeps `menu` open when the Alt press of the access key that opened it
// (Alt+F) reaches it only after it opened.
//
// With the accessibility bridge on and a screen reader listening to keys, Qt
// hands every key press and release to the reader first and delivers it once
// the reader lets it through, while an access key is matched at once. The
// chord's own Alt press can then arrive in the open menu, which closes at an
// Alt press, and the item's key that follows goes nowhere. A key is not
// pressed twice without a release in between, so an Alt press that reaches a
// menu opened with Alt held, before Alt was released, is that late press and
// is dropped. Without the bridge such a press never comes.
void KeepOpenOnLateAltPress(QMenu& menu);

}  // namespace tandrel::ui
