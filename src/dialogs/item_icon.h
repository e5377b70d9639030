// The icon of a launcher item: the icon inside the file it names, else the
// shell's icon for that file, else the program's own application icon.
#pragma once
#include <cstddef>

namespace vsmr {

inline constexpr int kItemIconLarge = 32;  // size value for the large icon
inline constexpr int kItemIconSmall = 16;  // size value for the small icon

// Where an item icon comes from, tried in this order until one gives an icon.
enum class ItemIconSource { kFileIcon, kShellIcon, kResource };
inline constexpr ItemIconSource kItemIconSources[] = {
    ItemIconSource::kFileIcon, ItemIconSource::kShellIcon, ItemIconSource::kResource};

// The program's own icons, the last fallback. `module` is the module handle
// (an HINSTANCE) that holds them: the program, or a test's data module.
struct ItemIconResources {
  void* module = nullptr;
  int large_id = 201;
  int small_id = 202;
};

// True for the two size values LoadItemIcon serves.
constexpr bool IsItemIconSize(int size) { return size == kItemIconLarge || size == kItemIconSmall; }

// The resource id used for `size` (0 for a size that is not served).
int FallbackIconId(int size, const ItemIconResources& resources);

// An owned icon handle (an HICON), destroyed with the object. Move-only.
class ItemIcon {
 public:
  ItemIcon() = default;
  explicit ItemIcon(void* handle) : handle_(handle) {}
  ~ItemIcon() { Reset(); }
  ItemIcon(const ItemIcon&) = delete;
  ItemIcon& operator=(const ItemIcon&) = delete;
  ItemIcon(ItemIcon&& other) noexcept : handle_(other.Release()) {}
  ItemIcon& operator=(ItemIcon&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  void* get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void* Release() {
    void* h = handle_;
    handle_ = nullptr;
    return h;
  }
  // Destroys the held icon (Windows builds only) and takes `handle`.
  void Reset(void* handle = nullptr);

 private:
  void* handle_ = nullptr;
};

// The icon number `index` of `file` at `size` (kItemIconLarge or
// kItemIconSmall); failing that the shell's icon for the file; failing that
// the resource icon of `resources`. Any other size gives no icon. Windows
// builds only.
ItemIcon LoadItemIcon(const char* file, int index, int size, const ItemIconResources& resources);

// Draws the icon LoadItemIcon gives onto the device context `dc` (an HDC) at
// (x, y) in its size, and destroys it again. False when there was no icon.
// Windows builds only.
bool DrawItemIcon(void* dc, int x, int y, const char* file, int index, int size,
                  const ItemIconResources& resources);

}  // namespace vsmr
