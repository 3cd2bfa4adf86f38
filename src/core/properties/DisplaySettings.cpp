#include "properties/DisplaySettings.h"

#include "settings/Settings.h"

namespace hv {

TItemColorOptions ItemColorOptionsFromSettings(TSettings& settings) {
    TItemColorOptions options;
    options.NeedToVisitColor = static_cast<std::uint32_t>(settings.Get(opt::Window::NeedToVisitColor));
    options.GrayItemTime = settings.Get(opt::Main::GrayItemTime);
    return options;
}

TAccessTimeOptions AccessTimeOptionsFromSettings(TSettings& settings) {
    TAccessTimeOptions options;
    options.DateStrType = settings.Get(opt::Main::DateStrType);
    options.YearTwoDigit = settings.Get(opt::Main::YearTwoDigit);
    options.DateSeparator = settings.Get(opt::Main::DateSeparator);
    options.DayOfWeek = settings.Get(opt::Main::DayOfWeek);
    options.Hour24 = settings.Get(opt::Main::Hour24);
    return options;
}

} // namespace hv
