#pragma once

namespace tandrel::ui {

// Gives the game's own widgets their faces for assistive technology: a box
// label is a push button named after its text whose press action answers as
// a click does, the announcer a notification, and the scores and about
// windows are windows. Safe to call any number of times; the widgets call it
// as they are created.
void InstallAccessibleInterfaces();

}  // namespace tandrel::ui
