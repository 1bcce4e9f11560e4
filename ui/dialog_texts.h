// Every text the dialog program writes or shows by itself, in UTF-8; the templates hold the rest.
#pragma once

// A message box's text and caption; a "%s" in the text stands for a file's path.
struct DialogText {
  const char* text;
  const char* caption;
};

namespace texts {

// Messages of the compose and preview commands, owned by the main dialog.
inline constexpr DialogText kComposeFileMissing{"%sが見つかりません。合成を終了します。", "File Error"};
inline constexpr DialogText kPreviewFileMissing{"%sが見つかりません。プレビューを終了します。",
                                                "File Error"};
inline constexpr DialogText kLayerOpenFailed{"%sが見つかりません.", "File Open Error"};
inline constexpr DialogText kLayerUnsupported{"現在対応していません", "File Error"};
inline constexpr DialogText kComposeFinished{"合成終了", "無事終了"};

// What the rows show when the dialog opens, by layer.
inline constexpr const char* kDefaultLayerPath[] = {"filename0.bmp", "filename1.bmp",
                                                    "filename2.bmp"};
inline constexpr const char* kDefaultTransparency[] = {"0", "10", "30"};

// The open-file dialog of the Open buttons: caption, filter pairs (shown text, pattern) and
// the extension added to a name typed without one.
inline constexpr const char* kChooserTitle = "ファイルオープン";
inline constexpr const char* kChooserFilter[] = {"bmp(*.bmp)", "*.bmp", "すべてのファイル(*.*)",
                                                 "*.*"};
inline constexpr const char* kChooserDefaultExtension = "bmp";

// The window class registered at start-up, formatted with the number 0.
inline constexpr const char* kWindowClassFormat = "Notewisp %d";

}  // namespace texts
