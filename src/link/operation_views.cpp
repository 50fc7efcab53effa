#include "link/operation_views.h"

namespace {

IOperationViews noViews;
IOperationViews* installedViews = &noViews;

}  // namespace

IOperationViews& OperationViews() { return *installedViews; }
void SetOperationViews(IOperationViews* views) { installedViews = views ? views : &noViews; }
