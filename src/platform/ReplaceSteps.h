// The steps of replacing files whole, written once for every host: inspect each target, write a
// temporary beside it, put the complete temporary in place. Each host keeps only its system calls:
//   Target, Temporary                  what is at a name, and the temporary written beside it
//                                      (Append, Finish(sync), Write(text, sync))
//   Inspect(path)                      the target at a name, refused when no file may go there
//   SameFile(a, b)                     two targets that are one file
//   Files::NewTemporary(target)        the temporary beside a target
//   Files::PutInPlace(target, temp)    the complete temporary takes the target's name
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/FileMessages.h"
#include "platform/FileSystem.h"

namespace rh::files {

template <class Files, class Target, class Temporary, auto Inspect, auto SameFile>
struct ReplaceSteps {
  static bool Synced(const Files& files) { return files.durability_ == Files::Durability::Synced; }

  static void ReplaceText(Files& files, const std::string& path, std::string_view text) {
    ReplaceTextAt(files, Inspect(path), text);
  }

  // As ReplaceText, at a target the host has already looked at.
  static void ReplaceTextAt(Files& files, Target target, std::string_view text) {
    const std::unique_ptr<Temporary> temp = files.NewTemporary(target);
    temp->Write(text, Synced(files));
    files.PutInPlace(target, *temp);
  }

  // A replacement written in pieces: the target is inspected (unless the host has looked at it)
  // and the temporary made at once.
  class Writer final : public FileWriter {
   public:
    Writer(Files& files, const std::string& path) : Writer(files, Inspect(path)) {}
    Writer(Files& files, Target target)
        : files_(files), target_(std::move(target)), temp_(files.NewTemporary(target_)) {}
    void Write(std::string_view text) override { temp_->Append(text); }
    void Commit() override {
      temp_->Finish(Synced(files_));
      files_.PutInPlace(target_, *temp_);
    }

   private:
    Files& files_;
    Target target_;
    std::unique_ptr<Temporary> temp_;
  };

  // The targets of files written together, inspected before anything is written; two names of
  // one file are refused.
  static std::vector<Target> InspectAll(const std::vector<FileText>& files) {
    std::vector<Target> targets;
    targets.reserve(files.size());
    for (const FileText& file : files) {
      targets.push_back(Inspect(file.path));
      for (std::size_t i = 0; i + 1 < targets.size(); ++i) {
        if (SameFile(targets[i], targets.back()))
          throw Fault("write", file.path, messages::kNamedTwiceReason);
      }
    }
    return targets;
  }
};

}  // namespace rh::files
