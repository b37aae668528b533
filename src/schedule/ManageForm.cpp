// Schedule dialog: layout, prefilling, and turning its controls into an entry.
#include "schedule/ManageForm.h"

#include <shellapi.h>

#include <array>
#include <utility>

#include "../../res/resource.h"
#include "base/StringTable.h"
#include "schedule/ScheduleText.h"
#include "sysinfo/ProcessRecord.h"
#include "ui/Controls.h"
#include "ui/MessageDialog.h"

namespace cvt {
namespace {

constexpr char kClassName[] = "TFrmManager";
constexpr char kCaption[] = "マネジメント スケジュールの追加";
constexpr int kClientWidth = 472;
constexpr int kClientHeight = 286;
// Not clipping its children: the bevels and the group box leave their insides to the dialog's background.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

std::string TextOf(HWND control) {
    const int length = GetWindowTextLengthA(control);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(control, text.data(), length + 1)));
    return text;
}

std::string ComboItemText(HWND combo, int index) {
    const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied = SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

void AddComboItems(HWND combo, std::initializer_list<const char*> items) {
    for (const char* item : items) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
}

HWND CreateEdit(HWND parent, int id, const char* text, ui::Bounds bounds, HFONT font, DWORD extraStyle = 0) {
    return ui::CreateChild(parent, "EDIT", text, ES_AUTOHSCROLL | WS_TABSTOP | extraStyle, WS_EX_CLIENTEDGE, bounds,
                           id, font);
}

HWND CreateRadio(HWND parent, int id, const char* caption, ui::Bounds bounds, HFONT font, DWORD extraStyle = 0) {
    return ui::CreateChild(parent, "BUTTON", caption, BS_AUTORADIOBUTTON | extraStyle, 0, bounds, id, font);
}

// A sunken frame below every other control, never painting over them.
void CreateBevel(HWND parent, ui::Bounds bounds) {
    ui::CreateChild(parent, "STATIC", "", SS_ETCHEDFRAME | WS_CLIPSIBLINGS, 0, bounds, -1, nullptr);
}

// A small folder image for the select button, above its text; systems
// without image-list buttons show the text alone.
HIMAGELIST AttachFolderGlyph(HWND button) {
    SHFILEINFOA info{};
    if (SHGetFileInfoA("folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                       SHGFI_USEFILEATTRIBUTES | SHGFI_ICON | SHGFI_SMALLICON) == 0 ||
        info.hIcon == nullptr)
        return nullptr;
    UniqueIcon icon(info.hIcon);
    HIMAGELIST images = ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                         ILC_COLOR32 | ILC_MASK, 1, 0);
    if (images == nullptr) return nullptr;
    ImageList_AddIcon(images, icon.Get());
    BUTTON_IMAGELIST glyph{images, {0, 4, 0, 0}, BUTTON_IMAGELIST_ALIGN_TOP};
    if (!SendMessageA(button, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&glyph))) {
        ImageList_Destroy(images);
        return nullptr;
    }
    return images;
}

}  // namespace

double DateTimeOf(const SYSTEMTIME& time) noexcept {
    return CombineDateTime(DaysFromDate(time.wYear, time.wMonth, time.wDay),
                           TimeFraction(time.wHour, time.wMinute, time.wSecond, time.wMilliseconds));
}

double CurrentDateTime() noexcept {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return DateTimeOf(now);
}

TFrmManager::TFrmManager(MgrScheduleList& schedules, std::function<void()> onAdded)
    : schedules_(schedules), onAdded_(std::move(onAdded)) {}

TFrmManager::~TFrmManager() {
    // The button shows the glyph until the window is gone.
    if (Hwnd() != nullptr) DestroyWindow(Hwnd());
    if (selectGlyph_ != nullptr) ImageList_Destroy(selectGlyph_);
}

bool TFrmManager::Create(HWND owner) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_DATE_CLASSES};
    InitCommonControlsEx(&classes);
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_CVT));
    if (!RegisterClassOnce(kClassName, icon, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) return false;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    if (!CreateWindowObject(kExStyle, kClassName, kCaption, kStyle, 193, 115, frame.right - frame.left,
                            frame.bottom - frame.top, owner, nullptr))
        return false;
    CreateControls();
    return true;
}

void TFrmManager::CreateControls() {
    font_.Reset(ui::CreatePointFont("ＭＳ Ｐゴシック", 9));
    HFONT font = font_.Get();
    HWND w = Hwnd();

    // Creation order is the tab order.
    CreateEdit(w, mgr::EdtImagePath, "", {72, 56, 313, 20}, font, WS_GROUP);
    CreateEdit(w, mgr::EdtImageName, "", {72, 32, 313, 20}, font);
    HWND select = ui::CreateButton(w, mgr::BtnSelect, "選択(&S)...", {392, 32, 73, 49}, font);
    selectGlyph_ = AttachFolderGlyph(select);
    // The heights include the dropped-down lists.
    HWND operation = ui::CreateChild(w, "COMBOBOX", "", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0,
                                     {72, 8, 393, 160}, mgr::CmbOperation, font);
    AddComboItems(operation, {"優先度チェック", "プロセス起動", "プロセス終了", "プロセス終了時にWindows終了",
                              "Windows終了"});
    HWND priority = ui::CreateChild(w, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0,
                                    {72, 80, 313, 160}, mgr::CmbPriority, font);
    AddComboItems(priority, {"リアルタイム", "高", "通常以上", "通常", "通常以下", "低"});
    ui::CreateChild(w, DATETIMEPICK_CLASSA, "", DTS_SHORTDATEFORMAT | WS_TABSTOP, 0, {88, 136, 113, 20},
                    mgr::DtpTimeDate, font);
    HWND atTime = CreateRadio(w, mgr::RdbSelectTime, "時刻指定", {80, 112, 73, 17}, font, WS_GROUP | WS_TABSTOP);
    ui::SetChecked(atTime, true);
    CreateRadio(w, mgr::RdbSelectInterval, "時間指定", {80, 176, 73, 20}, font);
    CreateEdit(w, mgr::EdtIntervalDay, "0", {88, 200, 33, 20}, font, WS_GROUP);
    CreateEdit(w, mgr::EdtIntervalHour, "1", {144, 200, 33, 20}, font);
    CreateEdit(w, mgr::EdtIntervalMinute, "0", {216, 200, 33, 20}, font);
    CreateEdit(w, mgr::EdtIntervalSecond, "0", {272, 200, 33, 20}, font);
    ui::CreateChild(w, "BUTTON", "追加(&A)", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, {216, 256, 121, 25},
                    mgr::BtnAddSchedule, font);
    ui::CreateButton(w, mgr::BtnDontAddSchedule, "キャンセル(&C)", {344, 256, 121, 25}, font);
    ui::CreateChild(w, DATETIMEPICK_CLASSA, "", DTS_TIMEFORMAT | WS_TABSTOP | WS_GROUP, 0, {216, 136, 113, 20},
                    mgr::DtpTimeTime, font);

    // The timer options sit on the dialog at the group box's offset, a radio group of their own.
    constexpr int groupX = 352, groupY = 115;
    CreateRadio(w, mgr::RdbOptEveryday, "毎日", {groupX + 8, groupY + 48, 97, 17}, font, WS_GROUP | WS_TABSTOP);
    HWND none = CreateRadio(w, mgr::RdbOptNone, "オプションなし", {groupX + 8, groupY + 24, 97, 17}, font);
    ui::SetChecked(none, true);
    CreateRadio(w, mgr::RdbOptRepeat, "繰り返し", {groupX + 8, groupY + 72, 97, 17}, font);
    // Below its radios, and never painting over them.
    ui::CreateChild(w, "BUTTON", "タイマー オプション", BS_GROUPBOX | WS_GROUP | WS_CLIPSIBLINGS, 0,
                    {groupX, groupY, 113, 118}, -1, font);

    const struct { const char* text; ui::Bounds bounds; } labels[] = {
        {"動作", {8, 8, 60, 12}},     {"イメージ名", {8, 32, 60, 12}}, {"パス", {8, 56, 60, 12}},
        {"優先度", {8, 80, 60, 12}},  {"タイマー", {8, 104, 60, 12}},  {"日", {125, 204, 14, 12}},
        {"時間", {181, 204, 30, 12}}, {"分", {253, 204, 14, 12}},      {"秒後", {309, 204, 30, 12}}};
    for (const auto& label : labels) ui::FitLabelToText(ui::CreateLabel(w, label.text, label.bounds, font));
    CreateBevel(w, {72, 120, 273, 49});
    CreateBevel(w, {72, 184, 273, 49});
}

void TFrmManager::ShowMgrDialog(uint32_t priorityClass, const std::string& imageName, const std::string& imagePath) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    SendMessageA(Control(mgr::DtpTimeDate), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&now));
    SendMessageA(Control(mgr::DtpTimeTime), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&now));
    SetWindowTextA(Control(mgr::EdtImageName), imageName.c_str());
    SetWindowTextA(Control(mgr::EdtImagePath), imagePath.c_str());

    HWND priority = Control(mgr::CmbPriority);
    if (priorityClass != 0) {
        EnableWindow(priority, TRUE);
        // An exact match only: the list's "リアルタイム" is not the class name's half-width spelling.
        const std::string name = LoadText(PriorityTextId(priorityClass));
        const int count = static_cast<int>(SendMessageA(priority, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            if (ComboItemText(priority, i) == name) {
                SendMessageA(priority, CB_SETCURSEL, i, 0);
                break;
            }
        }
    } else {
        EnableWindow(priority, FALSE);
        SendMessageA(priority, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    }
    ShowWindow(Hwnd(), SW_SHOW);
    SetForegroundWindow(Hwnd());
}

int32_t TFrmManager::SelectedOperation() const {
    HWND combo = Control(mgr::CmbOperation);
    const int index = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
    if (index < 0) return -1;
    // Text typed over a chosen item names no operation.
    return TextOf(combo) == ComboItemText(combo, index) ? index : -1;
}

double TFrmManager::ChosenDateTime() const {
    SYSTEMTIME date{}, time{};
    SendMessageA(Control(mgr::DtpTimeDate), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date));
    SendMessageA(Control(mgr::DtpTimeTime), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    return CombineDateTime(DaysFromDate(date.wYear, date.wMonth, date.wDay),
                           TimeFraction(time.wHour, time.wMinute, time.wSecond, time.wMilliseconds));
}

void TFrmManager::BtnAddScheduleClick() {
    TMgrSchedule entry;
    if (ui::IsChecked(Control(mgr::RdbSelectTime))) {
        entry.Option = kMgrAtTime;
        entry.Timer = ChosenDateTime();
    } else {
        // Every field is read before anything is added, so a bad one leaves no half-made entry.
        const IntervalAmounts interval = ReadIntervalAmounts(
            {TextOf(Control(mgr::EdtIntervalDay)), TextOf(Control(mgr::EdtIntervalHour)),
             TextOf(Control(mgr::EdtIntervalMinute)), TextOf(Control(mgr::EdtIntervalSecond))});
        if (interval.error) {
            ui::ShowMessage(Hwnd(), ui::MessageKind::Error, *interval.error);
            return;
        }
        const auto& [days, hours, minutes, seconds] = interval.amounts;
        entry.Option = kMgrAfterInterval;
        entry.Timer = AddInterval(CurrentDateTime(), days, hours, minutes, seconds);
    }
    entry.FileName = TextOf(Control(mgr::EdtImageName));
    entry.FilePath = TextOf(Control(mgr::EdtImagePath));
    entry.Operation = SelectedOperation();
    if (!ui::IsChecked(Control(mgr::RdbOptNone))) {
        if (ui::IsChecked(Control(mgr::RdbOptEveryday))) entry.Option += kMgrEveryDay;
        else if (ui::IsChecked(Control(mgr::RdbOptRepeat))) entry.Option += kMgrRepeat;
    }
    if (entry.Operation == kMgrShutdownAfterEnd) {
        entry.Option = 0;
        entry.Timer = 0;
    }
    schedules_.push_back(std::move(entry));
    ShowWindow(Hwnd(), SW_HIDE);
    if (onAdded_) onAdded_();
}

void TFrmManager::BtnDontAddScheduleClick() { ShowWindow(Hwnd(), SW_HIDE); }

LRESULT TFrmManager::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED) return 0;
            if (LOWORD(wParam) == mgr::BtnAddSchedule) BtnAddScheduleClick();
            else if (LOWORD(wParam) == mgr::BtnDontAddSchedule || LOWORD(wParam) == IDCANCEL) BtnDontAddScheduleClick();
            return 0;
        case WM_ACTIVATE:
            // As a dialog does: the focus goes back to the control that had it, or to the first one.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(Hwnd(), focus)) lastFocus_ = focus;
            } else {
                const bool usable = lastFocus_ != nullptr && IsWindow(lastFocus_) && IsWindowEnabled(lastFocus_);
                SetFocus(usable ? lastFocus_ : GetNextDlgTabItem(Hwnd(), nullptr, FALSE));
            }
            return 0;
        case WM_CLOSE:
            // Closing only hides: the dialog is reused.
            BtnDontAddScheduleClick();
            return 0;
        default:
            break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace cvt
