// Reading the lock keys' lights. The X11 headers stay in this file: their
// macros (None, Bool, KeyPress...) would clash with Qt's names elsewhere.
#include "LockKeys.h"

#include <QGuiApplication>

#if defined(LUMO_HAVE_XKB) && QT_CONFIG(xcb)
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#define LUMO_READS_XKB 1
#endif

namespace {

// X11 modifier bits of the lock keys; the Kana and Scroll locks have none.
constexpr quint32 kX11LockMask = 1u << 1;
constexpr quint32 kX11NumLockMask = 1u << 4;

bool IndicatorLit(quint32 state, int index) noexcept {
  return index >= 0 && index < 32 && (state & (quint32{1} << index)) != 0;
}

#ifdef LUMO_READS_XKB
Display* X11Display() {
  const auto* x11 =
      qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 != nullptr ? x11->display() : nullptr;
}

// The indicators' indices are the keyboard's, fixed for the session: looked
// up once by name, as their bit positions differ between keyboard maps.
struct IndicatorIndices {
  int caps = -1;
  int num = -1;
};

int IndicatorIndex(Display* display, const char* name) {
  const Atom atom = XInternAtom(display, name, True);
  int index = -1;
  if (atom == None || !XkbGetNamedIndicator(display, atom, &index, nullptr, nullptr, nullptr)) {
    return -1;
  }
  return index;
}

const IndicatorIndices& Indices(Display* display) {
  static const IndicatorIndices indices{IndicatorIndex(display, "Caps Lock"),
                                        IndicatorIndex(display, "Num Lock")};
  return indices;
}
#endif

}  // namespace

LockKeyStates LockKeysFromIndicators(quint32 indicatorState, int capsIndex, int numIndex) noexcept {
  return {IndicatorLit(indicatorState, capsIndex), IndicatorLit(indicatorState, numIndex)};
}

LockKeyStates LockKeysFromModifiers(quint32 x11State) noexcept {
  return {(x11State & kX11LockMask) != 0, (x11State & kX11NumLockMask) != 0};
}

std::optional<LockKeyStates> ReadLockKeys() {
#ifdef LUMO_READS_XKB
  Display* display = X11Display();
  unsigned int state = 0;
  if (display == nullptr || XkbGetIndicatorState(display, XkbUseCoreKbd, &state) != Success) {
    return std::nullopt;
  }
  const IndicatorIndices& indices = Indices(display);
  return LockKeysFromIndicators(state, indices.caps, indices.num);
#else
  return std::nullopt;
#endif
}
