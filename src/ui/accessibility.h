#pragma once

namespace kestrix::ui {

// Makes the program's own controls known to assistive technology with the roles, texts and
// actions a reader expects: the link as a link that can be pressed, the status bar as a status
// bar, a figure read with its caption, and the found list's rows as rows that can be checked.
// Every window, and the controls that need it, call it when they are made; it works once.
void ensureAccessibleInterfaces();

}  // namespace kestrix::ui
