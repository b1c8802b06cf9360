#include "geo_binding.hpp"

#include "convenience/typed/typed.hpp"
#include "geo.hpp"

orrery::convenience::typed::NamespaceBuilder geo::defineGeo() {
    using namespace orrery::convenience::typed;
    auto geo = defineNamespace("geo");
    auto shape = geo.defineClass<Shape>("Shape")
                     .property("name", &Shape::name)
                     .abstractMethod<void(double)>("scale", {"factor"});
    geo.defineClass<Polygon>("Polygon")
        .superclass(shape)
        .constructor<std::string>({"name"})
        .property("area", &Polygon::area)
        .property("xs", &Polygon::xs)
        .property("ys", &Polygon::ys)
        .method("addVertex", &Polygon::addVertex, {"x", "y"})
        .method("centroid", &Polygon::centroid, {}, {"cx", "cy"})
        .method("scale", &Polygon::scale, {"factor"})
        .staticMethod("unitSquare", &Polygon::unitSquare);
    geo.defineNamespace("util").function("area", &area, {"polygon"});
    return geo;
}
