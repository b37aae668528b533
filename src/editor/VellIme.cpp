// imm32 looked up once and kept for the program's life: every caret move places the composition window.
#include "editor/VellIme.h"

#include <imm.h>

#include <algorithm>
#include <vector>

#include "base/SystemLibrary.h"

namespace cvt::ime {
namespace {

struct Imm32 {
    using GetContextFn = HIMC(WINAPI*)(HWND);
    using ReleaseContextFn = BOOL(WINAPI*)(HWND, HIMC);
    using SetFontFn = BOOL(WINAPI*)(HIMC, LPLOGFONTA);
    using SetWindowFn = BOOL(WINAPI*)(HIMC, LPCOMPOSITIONFORM);
    using GetStringFn = LONG(WINAPI*)(HIMC, DWORD, LPVOID, DWORD);
    using NotifyFn = BOOL(WINAPI*)(HIMC, DWORD, DWORD, DWORD);

    UniqueLibrary library = LoadSystemLibrary("imm32.dll");
    GetContextFn getContext = LookUpFunction<GetContextFn>(library.Get(), "ImmGetContext");
    ReleaseContextFn releaseContext = LookUpFunction<ReleaseContextFn>(library.Get(), "ImmReleaseContext");
    SetFontFn setFont = LookUpFunction<SetFontFn>(library.Get(), "ImmSetCompositionFontA");
    SetWindowFn setWindow = LookUpFunction<SetWindowFn>(library.Get(), "ImmSetCompositionWindow");
    GetStringFn getString = LookUpFunction<GetStringFn>(library.Get(), "ImmGetCompositionStringA");
    NotifyFn notify = LookUpFunction<NotifyFn>(library.Get(), "ImmNotifyIME");

    [[nodiscard]] bool HasContext() const noexcept { return getContext != nullptr && releaseContext != nullptr; }
};

const Imm32& Api() {
    static const Imm32 api;
    return api;
}

// The window's input context for the length of one call.
class Context {
public:
    explicit Context(HWND window) : window_(window) {
        if (Api().HasContext()) context_ = Api().getContext(window);
    }
    ~Context() {
        if (context_ != nullptr) Api().releaseContext(window_, context_);
    }
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;
    [[nodiscard]] HIMC Get() const noexcept { return context_; }

private:
    HWND window_;
    HIMC context_ = nullptr;
};

}  // namespace

void PlaceCompositionWindow(HWND window, const LOGFONTA& font, POINT point) {
    const Imm32& api = Api();
    if (api.setFont == nullptr || api.setWindow == nullptr) return;
    Context context(window);
    if (context.Get() == nullptr) return;
    LOGFONTA copy = font;
    if (!api.setFont(context.Get(), &copy)) return;
    COMPOSITIONFORM form{};
    form.dwStyle = CFS_POINT;
    form.ptCurrentPos = point;
    api.setWindow(context.Get(), &form);
}

std::optional<std::string> ResultString(HWND window) {
    const Imm32& api = Api();
    if (api.getString == nullptr) return std::nullopt;
    Context context(window);
    if (context.Get() == nullptr) return std::nullopt;
    const LONG size = api.getString(context.Get(), GCS_RESULTSTR, nullptr, 0);
    if (size <= 0) return std::nullopt;
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1, '\0');
    const LONG got = api.getString(context.Get(), GCS_RESULTSTR, buffer.data(), static_cast<DWORD>(size));
    if (got <= 0) return std::nullopt;
    return std::string(buffer.data(), static_cast<std::size_t>(std::min(got, size)));
}

void CompleteComposition(HWND window) {
    const Imm32& api = Api();
    if (api.notify == nullptr) return;
    Context context(window);
    if (context.Get() != nullptr) api.notify(context.Get(), NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
}

}  // namespace cvt::ime
