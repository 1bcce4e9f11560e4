// The compose command: the dialog's layers into "fwrite.bmp" in the current directory.
#include "dialog_texts.h"
#include "layer_commands.h"
#include "layer_gathering.h"
#include "message_box.h"
#include "win32_host.h"

INT_PTR ComposeCommand(HWND dialog, varnowel::CompositeJob& job) {
  if (!GatherLayers(dialog, job, texts::kComposeFileMissing)) return -1;
  if (!CheckLayerFormats(dialog, job)) return TRUE;
  Win32Host host;
  std::int32_t width = 0;
  std::int32_t height = 0;
  if (varnowel::ReadLayerGeometry(job, width, height, host) == -1) return TRUE;
  const varnowel::Target result{varnowel::TargetKind::Result, {}};
  // After a failed run the engine's own message is the only one.
  if (varnowel::RunComposition(width, height, job, result, host).ok()) {
    ShowDialogMessage(dialog, texts::kComposeFinished);
  }
  return TRUE;
}
