// Replacing a file's contents so that a failed write leaves the old file as it was.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace cvt {

using MoveFileExFn = BOOL(WINAPI*)(LPCSTR existing, LPCSTR replacement, DWORD flags);

// kernel32's MoveFileExA; null where the system lacks it.
[[nodiscard]] MoveFileExFn SystemMoveFileEx() noexcept;

// Writes bytes, exactly, to a temporary file in path's folder and puts it in path's place only
// once it is whole. Returns ERROR_SUCCESS or the error of the step that failed; after a failure
// the file at path is as it was and no temporary file is left behind.
// moveFileEx: the replacing rename; null (as on 95/98/Me) moves the old file aside instead.
[[nodiscard]] DWORD WriteFileReplacing(const std::string& path, std::string_view bytes,
                                       MoveFileExFn moveFileEx = SystemMoveFileEx());

}  // namespace cvt
