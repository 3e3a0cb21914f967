// The process-wide current platform and the command boundary that shows unhandled errors.
#include "platform/Platform.h"

#include <stdexcept>
#include <string_view>

#include "text/Cp932.h"

namespace {

Platform* g_current = nullptr;

}  // namespace

Platform::Platform() : m_applicationTitle("Sorvane 36 Lite") {}

Platform::~Platform()
{
    // A platform destroyed while still installed must not be reached through platform() later.
    if (g_current == this)
        g_current = nullptr;
}

Platform& platform()
{
    if (!g_current)
        throw std::logic_error("no platform installed: call setPlatform() before the first window");
    return *g_current;
}

void setPlatform(Platform* p) { g_current = p; }

PlatformScope::PlatformScope(Platform& p) : m_previous(g_current) { g_current = &p; }

PlatformScope::~PlatformScope() { g_current = m_previous; }

std::string errorTextOf(std::string_view message)
{
    text::Conversion asUtf8 = text::fromUtf8(message);
    if (asUtf8.invalid == 0)
        return std::move(asUtf8.text);
    return std::string(message);
}

std::string errorTextOf(const std::exception& error) { return errorTextOf(std::string_view(error.what())); }

bool runCommand(const std::function<void()>& command)
{
    try {
        command();
        return true;
    } catch (const std::exception& error) {
        platform().showError(errorTextOf(error));
        return false;
    }
}
