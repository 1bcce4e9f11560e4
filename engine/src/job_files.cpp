// The files of one run: the checked layer streams and the output being written.
#include "job_files.h"

#include <cstdio>

namespace varnowel {

OutputFile::OutputFile(Platform& platform, std::string target)
    : platform_(platform), target_(std::move(target)) {}

OutputFile::~OutputFile() {
  if (stream_) std::fclose(stream_);
  if (!committed_ && !inPlace_ && !writtenPath_.empty()) std::remove(writtenPath_.c_str());
}

Status OutputFile::Open() {
  const Status failed{Fault::OutputOpenFailed, target_};
  if (target_.empty()) return failed;
  inPlace_ = platform_.IsSpecialFile(target_);
  if (inPlace_) {
    writtenPath_ = target_;
  } else {
    auto temporary = platform_.CreateTemporaryFileBeside(target_);
    if (!temporary) return failed;
    writtenPath_ = *temporary;
  }
  stream_ = std::fopen(writtenPath_.c_str(), "wb");
  return stream_ ? Status{} : failed;
}

Status OutputFile::Commit() {
  const int closed = std::fclose(stream_);
  stream_ = nullptr;
  if (closed != 0) return {Fault::OutputWriteFailed, target_};
  if (!inPlace_ && !platform_.MoveIntoPlace(writtenPath_, target_))
    return {Fault::OutputOpenFailed, target_};
  committed_ = true;
  return {};
}

Status OpenJobFiles(Geometry size, std::span<const LayerSource> layers,
                    const std::string& outputPath, Platform& platform, JobFiles& files) {
  files.layers.clear();
  files.layers.reserve(layers.size());
  for (const LayerSource& source : layers) {
    LayerStream& stream = files.layers.emplace_back();
    stream.transparency = source.transparency;
    stream.grayscale = source.grayscale;
    if (OpenLayerFile(source.path, stream.file) != Fault::None)
      return {Fault::LayerNotFound, source.path};
  }
  // A size mismatch is told before any format fault: a top-down layer beside a bottom-up
  // one of the same size is reported as differing in height.
  for (const LayerStream& stream : files.layers) {
    if (!stream.file.HasSize()) return {Fault::LayerUnsupported, stream.file.path};
    if (stream.file.Width() != size.width || stream.file.Height() != size.height)
      return {Fault::SizesDiffer, stream.file.path};
  }
  for (const LayerStream& stream : files.layers) {
    if (CheckLayerHeader(stream.file) != Fault::None)
      return {Fault::LayerUnsupported, stream.file.path};
    if (CheckLayerRows(stream.file) != Fault::None)
      return {Fault::LayerTruncated, stream.file.path};
  }
  if (size.width < 0 || size.height < 0 ||
      bmp::FileSize(size.width, size.height) > bmp::kMaxFileSize)
    return {Fault::TooLarge, {}};
  files.output.emplace(platform, outputPath);
  return files.output->Open();
}

}  // namespace varnowel
