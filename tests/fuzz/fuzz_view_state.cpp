// View states: any stored text reads into a state that formats to a text reading back to the
// same state, and applying it to a tree picks a folder of that tree.

#include "FuzzTarget.h"
#include "document/ViewState.h"
#include "model/HVFolder.h"

HV_FUZZ_TARGET(view_state) {
    using namespace hv;
    const TViewState state = ParseViewState(input);
    const std::string text = FormatViewState(state, 45000);
    HV_FUZZ_CHECK(ParseViewState(text) == state);
    HV_FUZZ_CHECK(FormatViewState(ParseViewState(text), 45000) == text);

    THVFolder root("Hollyvine");
    THVFolder* a = root.AddChild("a");
    a->AddChild("a1");
    root.AddChild("b")->AddChild("b1");
    const THVFolder& selected = ApplyViewState(root, state);
    HV_FUZZ_CHECK(FolderPosition(root, &selected) >= 0);
}
