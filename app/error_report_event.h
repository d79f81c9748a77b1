#pragma once
// How a part of the application hands a failure to the error report: the failure's text and the mark of the
// failing operation (always "CLM_..."). The application keeps running after it.
#include <functional>
#include <string>

using TReportErrorEvent = std::function<void(const std::string& AText, const std::string& AMark)>;
