#include "toolkit/error_box.h"

#include "base/errors.h"

std::wstring ErrorBoxText(std::wstring_view message) {
  std::wstring text(message);
  if (!text.empty() && text.back() > L'.') text += L'.';
  return text;
}

std::wstring ExceptionMessage(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const Exception& e) {
    return e.Message();
  } catch (const std::exception& e) {
    const std::string narrow = e.what();
    std::wstring wide(narrow.size(), L'\0');
    const int n = MultiByteToWideChar(CP_ACP, 0, narrow.data(), static_cast<int>(narrow.size()), wide.data(),
                                      static_cast<int>(wide.size()));
    wide.resize(static_cast<size_t>(n > 0 ? n : 0));
    return wide;
  } catch (...) {
    return L"Unknown error";
  }
}

void ShowErrorBox(const std::wstring& title, std::wstring_view message) {
  const std::wstring text = ErrorBoxText(message);
  MessageBoxW(GetActiveWindow(), text.c_str(), title.c_str(), MB_ICONERROR | MB_OK);
}
