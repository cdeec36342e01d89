#include "dialogs/win32/DialogFonts.h"

#include <utility>

#include "dialogs/ControlLayout.h"
#include "dialogs/win32/GdiGuards.h"

namespace bk {
namespace {

// The memo face of DialogFonts.h: fullwidth M, fullwidth S, space, go, shi,
// small tsu, ku.
constexpr wchar_t kMemoFace[] = L"\xFF2D\xFF33 \x30B4\x30B7\x30C3\x30AF";

UniqueFont Create(const wchar_t* face, BYTE pitchAndFamily, int dpi,
                  BYTE charset = DEFAULT_CHARSET) {
    // Negative: the character height, without the internal leading.
    int height = -ScaleToDpi(kFontCharacterHeight, dpi);
    return UniqueFont(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  pitchAndFamily, face));
}

// True when the font that the mapper actually chose for `font` is fixed-pitch
// (or when that can't be told: what was asked for is kept).
bool IsFixedPitch(HFONT font) {
    TEXTMETRICW metrics{};
    // The bit is named for fixed pitch but is set for variable-pitch fonts.
    return !FontMetrics(font, metrics) || (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
}

}  // namespace

bool FontMetrics(HFONT font, TEXTMETRICW& metrics) {
    HDC dc = GetDC(nullptr);
    if (!dc)
        return false;
    BOOL ok;
    {
        ScopedSelect selected(dc, font);
        ok = GetTextMetricsW(dc, &metrics);
    }
    ReleaseDC(nullptr, dc);
    return ok != FALSE;
}

UniqueFont CreateDialogFont(int dpi) {
    return Create(L"Arial", DEFAULT_PITCH | FF_SWISS, dpi);
}

UniqueFont CreateListFont(int dpi) {
    BYTE charset;
    switch (GetACP()) {
        case 932:
            charset = SHIFTJIS_CHARSET;
            break;
        case 936:
            charset = GB2312_CHARSET;
            break;
        case 949:
            charset = HANGUL_CHARSET;
            break;
        case 950:
            charset = CHINESEBIG5_CHARSET;
            break;
        case 1361:
            charset = JOHAB_CHARSET;
            break;
        default:
            return UniqueFont();
    }
    return Create(L"Arial", VARIABLE_PITCH | FF_SWISS, dpi, charset);
}

UniqueFont CreateMemoFont(int dpi) {
    UniqueFont font = Create(kMemoFace, FIXED_PITCH | FF_MODERN, dpi);
    if (font && IsFixedPitch(font.Get()))
        return font;
    UniqueFont fallback = Create(L"", FIXED_PITCH | FF_MODERN, dpi);
    return fallback ? std::move(fallback) : std::move(font);
}

}  // namespace bk
