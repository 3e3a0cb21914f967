// The platform's shared parts and the command boundary that shows unhandled errors.
#include "platform/Platform.h"

#include <stdexcept>
#include <string_view>

#include "text/Cp932.h"

Platform::Platform() : m_applicationTitle("Sorvane 36 Lite") {}

Platform::~Platform() = default;

std::string errorTextOf(std::string_view message)
{
    text::Conversion asUtf8 = text::fromUtf8(message);
    if (asUtf8.invalid == 0)
        return std::move(asUtf8.text);
    return std::string(message);
}

std::string errorTextOf(const std::exception& error) { return errorTextOf(std::string_view(error.what())); }

bool runCommand(Platform& platform, const std::function<void()>& command)
{
    try {
        command();
        return true;
    } catch (const std::exception& error) {
        platform.showError(errorTextOf(error));
        return false;
    }
}
