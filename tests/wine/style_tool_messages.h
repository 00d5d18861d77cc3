// What chgtheme tells the user, as the Wine tests expect it, where more than one test reads the same message.
#pragma once

namespace style_tool_messages {

// Large Size asked for while Wine's own style "Light", which offers NormalSize only, is active.
constexpr const wchar_t* kLargeNotOfferedEnglish =
    L"Optivue could not set the visual style to \"Large\u00a0Size\": the active visual style offers only \"Normal"
    L"\u00a0Size\". Windows, menus and their text keep their size.\n\nThe Windows Classic style, or a visual style "
    L"with large sizes, gets every size. Choose one (Display Properties, Appearance tab), then click \"Large"
    L"\u00a0Size\" in Optivue again.";
constexpr const wchar_t* kLargeNotOfferedGerman =
    L"Optivue konnte den visuellen Stil nicht auf „Large\u00a0Size“ stellen: Der aktive visuelle Stil bietet nur "
    L"„Normal\u00a0Size“. Fenster, Menüs und ihre Schrift behalten ihre Größe.\n\nMit dem klassischen Windows-Stil "
    L"oder einem visuellen Stil mit großen Größen erhalten Sie jede Größe. Wählen Sie einen davon "
    L"(Eigenschaften von Anzeige, Registerkarte „Darstellung“) und klicken Sie dann in Optivue erneut auf "
    L"„Large\u00a0Size“.";

}  // namespace style_tool_messages
