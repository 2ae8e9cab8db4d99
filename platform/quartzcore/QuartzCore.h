#pragma once
// Everything of the graphics stand-in that product code uses: geometry and transforms,
// colours, images and bitmap contexts, layers, transactions and filters.

#include "quartzcore/CAFilter.h"
#include "quartzcore/CALayer.h"
#include "quartzcore/CATransaction.h"
#include "quartzcore/CATransform3D.h"
#include "quartzcore/CGAffineTransform.h"
#include "quartzcore/CGColor.h"
#include "quartzcore/CGContext.h"
#include "quartzcore/CGGeometry.h"
#include "quartzcore/CGImage.h"
