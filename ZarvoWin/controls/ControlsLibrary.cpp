// Keeps the controls library non-empty while its first controls are written.
namespace Controls {
int libraryMarker() { return 0; }
} // namespace Controls
