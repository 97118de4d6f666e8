#pragma once

class QString;

// Asks the user for password, at most three times, in a prompt titled title.
// True at once, without a prompt, when password is empty; true as soon as
// the exact text is typed. A cancelled prompt or the third wrong answer
// shows "密码验证失败！" and returns false. Nothing is remembered between
// calls.
//
// The prompts and the failure message go through ModalSeam when a handler is
// installed, else through real modal dialogs without parent.
bool verifyPassword(const QString &password, const QString &title);
