#include "c_api/handles.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

#include "c_api/boundary.h"

namespace qmxdao::capi {
namespace {

std::mutex& registryMutex() {
  static std::mutex mutex;
  return mutex;
}

std::unordered_map<const void*, HandleType>& registry() {
  static auto* live = new std::unordered_map<const void*, HandleType>();  // outlives exit
  return *live;
}

// Unregisters handle and its children, deepest first; returns them in the order to delete.
void unregister(Handle* handle, std::vector<Handle*>& doomed);

}  // namespace

void registerHandle(Handle* handle) {
  std::lock_guard<std::mutex> lock(registryMutex());
  registry().emplace(handle, handle->type());
  if (handle->parent_ != nullptr) handle->parent_->children_.push_back(handle);
}

namespace {

void unregister(Handle* handle, std::vector<Handle*>& doomed) {
  for (Handle* child : handle->children_) unregister(child, doomed);
  registry().erase(handle);
  doomed.push_back(handle);
}

}  // namespace

void releaseHandle(Handle* handle) {
  std::vector<Handle*> doomed;
  {
    std::lock_guard<std::mutex> lock(registryMutex());
    if (handle->parent_ != nullptr) {
      auto& siblings = handle->parent_->children_;
      siblings.erase(std::remove(siblings.begin(), siblings.end(), handle), siblings.end());
    }
    unregister(handle, doomed);
  }
  // Children first: a query before its statement, a statement before its connection.
  for (Handle* each : doomed) delete each;
}

Handle* liveHandle(const void* pointer, HandleType type) {
  static const wchar_t* const names[] = {L"connection", L"statement", L"query"};
  {
    std::lock_guard<std::mutex> lock(registryMutex());
    auto found = registry().find(pointer);
    if (found != registry().end() && found->second == type) {
      return static_cast<Handle*>(const_cast<void*>(pointer));
    }
  }
  throw Refused(std::wstring(L"the ") + names[static_cast<int>(type)] +
                L" handle is null, released or of another kind");
}

}  // namespace qmxdao::capi
