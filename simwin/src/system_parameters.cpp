// The simulated system parameters: the non-client and icon metrics, the work area, and the reloads of
// icons and pointers, behind SystemParametersInfoA.
#include <simwin/sim.h>

#include <cstring>
#include <string>

namespace simwin {
namespace {

LOGFONTA Tahoma(LONG height, LONG weight) {
    LOGFONTA font;
    std::memset(&font, 0, sizeof font);
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfCharSet = ANSI_CHARSET;
    std::strcpy(font.lfFaceName, "Tahoma");
    return font;
}

}  // namespace

SystemParameters::SystemParameters() {
    std::memset(&nonClientMetrics, 0, sizeof nonClientMetrics);
    nonClientMetrics.cbSize = sizeof nonClientMetrics;
    nonClientMetrics.iBorderWidth = 1;
    nonClientMetrics.iScrollWidth = 16;
    nonClientMetrics.iScrollHeight = 16;
    nonClientMetrics.iCaptionWidth = 18;
    nonClientMetrics.iCaptionHeight = 18;
    nonClientMetrics.lfCaptionFont = Tahoma(-11, 700);
    nonClientMetrics.iSmCaptionWidth = 12;
    nonClientMetrics.iSmCaptionHeight = 15;
    nonClientMetrics.lfSmCaptionFont = Tahoma(-11, 700);
    nonClientMetrics.iMenuWidth = 18;
    nonClientMetrics.iMenuHeight = 19;
    nonClientMetrics.lfMenuFont = Tahoma(-11, 400);
    nonClientMetrics.lfStatusFont = Tahoma(-11, 400);
    nonClientMetrics.lfMessageFont = Tahoma(-11, 400);

    std::memset(&iconMetrics, 0, sizeof iconMetrics);
    iconMetrics.cbSize = sizeof iconMetrics;
    iconMetrics.iHorzSpacing = 75;
    iconMetrics.iVertSpacing = 75;
    iconMetrics.iTitleWrap = 1;
    iconMetrics.lfFont = Tahoma(-11, 400);

    workArea = RECT{0, 0, 1024, 738};
}

}  // namespace simwin

using simwin::machine;

namespace {

const char* ActionName(UINT action) {
    switch (action) {
        case SPI_GETNONCLIENTMETRICS:
            return "SPI_GETNONCLIENTMETRICS";
        case SPI_SETNONCLIENTMETRICS:
            return "SPI_SETNONCLIENTMETRICS";
        case SPI_GETICONMETRICS:
            return "SPI_GETICONMETRICS";
        case SPI_SETICONMETRICS:
            return "SPI_SETICONMETRICS";
        case SPI_GETWORKAREA:
            return "SPI_GETWORKAREA";
        case SPI_SETCURSORS:
            return "SPI_SETCURSORS";
        case SPI_SETICONS:
            return "SPI_SETICONS";
        default:
            return nullptr;
    }
}

// The record argument as the journal shows it: its type and the size it claims, which the call checks.
std::string RecordArg(UINT action, const void* record) {
    if (!record) return "NULL";
    switch (action) {
        case SPI_GETNONCLIENTMETRICS:
        case SPI_SETNONCLIENTMETRICS:
            return "NONCLIENTMETRICSA{cbSize=" + std::to_string(static_cast<const NONCLIENTMETRICSA*>(record)->cbSize) +
                   "}";
        case SPI_GETICONMETRICS:
        case SPI_SETICONMETRICS:
            return "ICONMETRICSA{cbSize=" + std::to_string(static_cast<const ICONMETRICSA*>(record)->cbSize) + "}";
        case SPI_GETWORKAREA:
            return "RECT";
        default:
            return "buffer";
    }
}

BOOL Finish(const std::string& args, BOOL result, DWORD error) {
    if (!result) machine().lastError = error;
    machine().journal.Record("SystemParametersInfoA", args, result);
    return result;
}

// Hands a metrics record out (GET) or takes it in (SET), only when the caller's size argument and the
// record's own size member both give the record's size.
template <typename Record>
BOOL ExchangeRecord(const std::string& args, UINT uiParam, void* record, Record* kept, bool get) {
    if (!record || uiParam != sizeof(Record) || static_cast<const Record*>(record)->cbSize != sizeof(Record))
        return Finish(args, FALSE, ERROR_INVALID_PARAMETER);
    if (get)
        std::memcpy(record, kept, sizeof(Record));
    else
        std::memcpy(kept, record, sizeof(Record));
    return Finish(args, TRUE, 0);
}

}  // namespace

BOOL WINAPI SystemParametersInfoA(UINT action, UINT uiParam, PVOID pvParam, UINT winIni) {
    const char* name = ActionName(action);
    const std::string args = (name ? std::string(name) : simwin::Hex(action)) + ", " + std::to_string(uiParam) + ", " +
                             RecordArg(action, pvParam) + ", " + simwin::Hex(winIni);
    if (!name) return Finish(args, FALSE, ERROR_INVALID_SPI_VALUE);
    if (auto fault = machine().faults.Check("SystemParametersInfoA", ERROR_INVALID_PARAMETER, name))
        return Finish(args, FALSE, static_cast<DWORD>(*fault));
    simwin::SystemParameters& parameters = machine().parameters;
    switch (action) {
        case SPI_GETNONCLIENTMETRICS:
        case SPI_SETNONCLIENTMETRICS:
            return ExchangeRecord(args, uiParam, pvParam, &parameters.nonClientMetrics,
                                  action == SPI_GETNONCLIENTMETRICS);
        case SPI_GETICONMETRICS:
        case SPI_SETICONMETRICS:
            return ExchangeRecord(args, uiParam, pvParam, &parameters.iconMetrics, action == SPI_GETICONMETRICS);
        case SPI_GETWORKAREA:
            if (!pvParam) return Finish(args, FALSE, ERROR_INVALID_PARAMETER);
            std::memcpy(pvParam, &parameters.workArea, sizeof(RECT));
            return Finish(args, TRUE, 0);
        case SPI_SETICONS:
            ++parameters.iconReloads;
            return Finish(args, TRUE, 0);
        case SPI_SETCURSORS:
            ++parameters.cursorReloads;
            return Finish(args, TRUE, 0);
        default:
            return Finish(args, TRUE, 0);
    }
}
