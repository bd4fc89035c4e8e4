// The lock keys' lights for the status bar, as the display server reports
// them. Only X11 reports any; elsewhere their panes stay grey.
#pragma once

#include <QtGlobal>
#include <optional>

struct LockKeyStates {
  bool capsLock = false;
  bool numLock = false;

  friend bool operator==(const LockKeyStates&, const LockKeyStates&) = default;
};

// From the X keyboard extension's indicator state and the bit indices of its
// "Caps Lock" and "Num Lock" indicators; an index outside the state's 32 bits
// (-1: the keyboard has no such indicator) reads as off.
[[nodiscard]] LockKeyStates LockKeysFromIndicators(quint32 indicatorState, int capsIndex,
                                                   int numIndex) noexcept;

// From an X11 key event's modifier mask, which holds the state before that
// key: the fallback where the keyboard extension cannot be asked.
[[nodiscard]] LockKeyStates LockKeysFromModifiers(quint32 x11State) noexcept;

// The lights now; nothing where the display server cannot be asked.
[[nodiscard]] std::optional<LockKeyStates> ReadLockKeys();
