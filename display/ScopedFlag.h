// The one way a flag is held for a scope: the display flags of the registry (TreeSyncBusy,
// RenderSuspended, LinkToMemoMode) and a window's own "while I am filling in" flags.
#pragma once

// Gives a flag a value for a scope and clears it however the scope is left, an error included,
// so that an outline, a display or a handler is never left switched off for good.
template <typename Flag>
class ScopedFlag {
public:
    explicit ScopedFlag(Flag& flag, Flag value = Flag(1)) : m_flag(flag) { m_flag = value; }
    ~ScopedFlag() { m_flag = Flag(0); }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    Flag& m_flag;
};
