#pragma once

// Makes the panel and every class of the control library it holds known to form data.
void RegisterPanelLibraryClasses();
