// The Open buttons: the platform's open-file dialog fills a layer row's path edit.
#include "file_chooser.h"

#include <commdlg.h>

#include <cstring>
#include <string>

#include "dialog_texts.h"
#include "layer_rows.h"
#include "win32_text.h"

namespace {

// The path last confirmed in each row's chooser: where that row's next choice starts.
char chooserPath[varnowel::kLayerCount][varnowel::kTextSize];

// The filter pairs as the 8-bit API wants them: each text NUL-terminated, an empty one last.
std::string ChooserFilter() {
  std::string filter;
  for (const char* text : texts::kChooserFilter) {
    filter += CodePageFromUtf8(text);
    filter += '\0';
  }
  filter += '\0';
  return filter;
}

}  // namespace

void BrowseLayerFile(HWND dialog, int layer) {
  const std::string filter = ChooserFilter();
  const std::string title = CodePageFromUtf8(texts::kChooserTitle);
  // The dialog works on a copy: a failed call may leave anything in its buffer.
  char file[varnowel::kTextSize];
  std::memcpy(file, chooserPath[layer], sizeof file);

  OPENFILENAMEA request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = dialog;
  request.lpstrFilter = filter.c_str();
  request.lpstrFile = file;
  request.nMaxFile = sizeof file;
  request.nMaxFileTitle = sizeof file;
  request.lpstrTitle = title.c_str();
  request.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  request.lpstrDefExt = texts::kChooserDefaultExtension;
  if (!GetOpenFileNameA(&request)) return;

  std::memcpy(chooserPath[layer], file, sizeof file);
  SetDlgItemTextA(dialog, kLayerRows[layer].path, chooserPath[layer]);
}
