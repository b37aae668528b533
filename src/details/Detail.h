// The detail window: one executable's danger information, icons and a grid of
// file, version and compatibility facts. Created once, hidden, and reused.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/Handles.h"
#include "details/FileHasher.h"
#include "details/ProcessDangerDb.h"
#include "ui/KeyValueGrid.h"
#include "ui/Page.h"
#include "ui/Shell.h"
#include "ui/Window.h"

namespace cvt {

class TFrmDetail final : public ui::Window {
public:
    // cvtIniPath: where the window keeps its placement; dangerDb outlives the window.
    TFrmDetail(std::string cvtIniPath, const ProcessDangerDb& dangerDb);

    bool Create(HWND owner);
    // extraRows: key and value of rows shown after the file's own, e.g. a verdict on the process.
    void ShowDetailForProcess(const std::string& imageName, const std::string& fullPath,
                              const std::vector<std::pair<std::string, std::string>>& extraRows = {});
    void ShowDetailForFile(const std::string& fullPath);
    void BtnOpenFolderClick();
    void BtnHideDetailClick();
    void BtnCopyHashesClick();
    // Asks first; only the SHA-256 leaves the machine, in the address the browser opens.
    void BtnLookUpHashClick();

    [[nodiscard]] const ui::KeyValueGrid& Grid() const noexcept { return grid_; }
    [[nodiscard]] HWND DangerLabel() const noexcept { return lblPdb_.Hwnd(); }
    [[nodiscard]] COLORREF DangerColor() const noexcept { return lblPdb_.Background(); }
    [[nodiscard]] HWND OpenFolderButton() const noexcept { return btnOpenFolder_; }
    [[nodiscard]] HWND CopyHashesButton() const noexcept { return btnCopyHashes_; }
    [[nodiscard]] HWND LookUpHashButton() const noexcept { return btnLookUpHash_; }
    // Grid row of "MD5"; "SHA-1" and "SHA-256" follow it.
    [[nodiscard]] int FirstHashRow() const noexcept { return firstHashRow_; }
    [[nodiscard]] bool Hashing() const noexcept { return hasher_ && hasher_->Outcome() == HashOutcome::Running; }
    [[nodiscard]] HICON LargeIcon() const noexcept { return largeIcon_.Get(); }
    [[nodiscard]] HICON SmallIcon() const noexcept { return smallIcon_.Get(); }
    void SetShellExecutor(ui::ShellExecutor executor) { shellExecute_ = std::move(executor); }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();
    void Open(const std::string& imageName, const std::string& fullPath);
    void FillDetail();
    void FormShow();
    void FormHide();
    void StartHashing();
    void StopHashing();
    void HashTimerTick();
    void ShowHashRows();

    std::string cvtIniPath_;
    const ProcessDangerDb& dangerDb_;
    std::string imageName_;
    std::string fullPath_;
    std::vector<std::pair<std::string, std::string>> extraRows_;
    int fileRowCount_ = 0;  // rows made with the window; those after them belong to one subject
    UniqueFont font_;
    HWND tab_ = nullptr;
    ui::Page page_;
    ui::Anchors anchors_;
    PdbLabel lblPdb_;
    HWND imgLarge_ = nullptr;
    HWND imgSmall_ = nullptr;
    ui::KeyValueGrid grid_;
    HWND btnOpenFolder_ = nullptr;
    HWND btnCopyHashes_ = nullptr;
    HWND btnLookUpHash_ = nullptr;
    int firstHashRow_ = -1;
    std::unique_ptr<FileHasher> hasher_;
    UniqueIcon largeIcon_;
    UniqueIcon smallIcon_;
    ui::ShellExecutor shellExecute_ = ui::SystemShellExecutor();
};

}  // namespace cvt
