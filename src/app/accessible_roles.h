#pragma once

namespace quillfen {

/// Gives the program's own controls the roles a screen reader announces: the map and the legend
/// swatches are pictures, the tabs of the layer panel page tabs (selected when in front, pressed
/// to bring their page to the front). Their names are their accessible names (a tab's, its
/// caption). Installs once; call before the first window is shown.
void installAccessibleRoles();

} // namespace quillfen
