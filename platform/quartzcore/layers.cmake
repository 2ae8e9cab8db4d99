# Layers, colours, images, bitmap contexts and the software compositor that draws layer
# trees into RGBA frames. Cairo draws into bitmap contexts; Pango and fontconfig come
# along for UIKit's text, which it draws through the contexts' Cairo state.
pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET cairo pangocairo fontconfig)

target_sources(cvquartzcore PRIVATE
    CGColor.cpp
    CGImage.cpp
    PixelLayout.cpp
    CGContext.cpp
    CGContextDrawing.cpp
    CALayer.cpp
    LayerDisplay.cpp
    LayerAnimation.cpp
    CABasicAnimation.cpp
    NSValue.cpp
    LayerGeometry.cpp
    PlaneProjection.cpp
    CAFilter.cpp
    CATransaction.cpp
    Renderer.cpp
    RenderPasses.cpp
    QuadRasterizer.cpp
    GaussianBlur.cpp
)
target_link_libraries(cvquartzcore PUBLIC cvfoundation PkgConfig::CAIRO)

cv_add_test(quartzcore_bitmap_context_test SOURCES tests/BitmapContextTest.cpp LIBS cvquartzcore)
cv_add_test(quartzcore_layer_test SOURCES tests/LayerTest.cpp LIBS cvquartzcore)
cv_add_test(quartzcore_renderer_test SOURCES tests/RendererTest.cpp LIBS cvquartzcore)
cv_add_test(quartzcore_blur_test SOURCES tests/BlurTest.cpp LIBS cvquartzcore)

# Pixel conversions run on every image drawn and made; let the compiler weigh vector code
# for their loops, which the default cost model at -O2 never tries.
set_source_files_properties(PixelLayout.cpp CGImage.cpp PROPERTIES
    COMPILE_OPTIONS "$<$<CXX_COMPILER_ID:GNU>:-fvect-cost-model=dynamic>")

# The shaders and passes widen four pixels into 32-byte vectors (PixelQuads.h), which the
# baseline processor would pass between functions differently from one with wider
# vectors; they are all inlined, so no such vector crosses a call and the ABI note does
# not apply.
set_source_files_properties(Renderer.cpp RenderPasses.cpp PROPERTIES COMPILE_OPTIONS "-Wno-psabi")
