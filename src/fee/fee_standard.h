#pragma once

// Which fee schedule the fee calculator works by: the 1989 rules or the 2007 measures.
constexpr int 标准1989 = 1989;
constexpr int 标准2007 = 2007;

// The schedule the fee window opens with: the clerk's last choice, else the office's default
// (varnel.ini, [fees] standard), else 1989. A settings file that cannot be read raises its
// VarnelError.
int 开窗收费标准();

// Remembers the clerk's choice for the next opening, on this PC, for this user.
void 记住收费标准(int standard);
