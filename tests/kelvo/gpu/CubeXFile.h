// A cube in the ".x" text format, for the importer and GL mesh tests: eight corners and six
// quads; faces 0-1 use "Red", 2-3 "Green", 4-5 "Blue". "Red" is declared at the top and
// referenced, the other two inline.
#pragma once

inline constexpr const char* kCubeXFile = R"(xof 0303txt 0032
Material Red {
 1.000000;0.000000;0.000000;0.500000;;
 12.000000;
 0.250000;0.250000;0.250000;;
 0.100000;0.000000;0.000000;;
 TextureFilename { "textures\\bricks.jpg"; }
}
Mesh Cube {
 8;
 -1.0;-1.0;-1.0;, 1.0;-1.0;-1.0;, 1.0;1.0;-1.0;, -1.0;1.0;-1.0;,
 -1.0;-1.0;1.0;, 1.0;-1.0;1.0;, 1.0;1.0;1.0;, -1.0;1.0;1.0;;
 6;
 4;0,3,2,1;, 4;4,5,6,7;, 4;0,1,5,4;, 4;2,3,7,6;, 4;0,4,7,3;, 4;1,2,6,5;;
 MeshMaterialList {
  3;
  6;
  0,0,1,1,2,2;;
  { Red }
  Material Green {
   0.000000;1.000000;0.000000;1.000000;;
   4.000000;
   0.000000;0.000000;0.000000;;
   0.000000;0.000000;0.000000;;
  }
  Material Blue {
   0.000000;0.000000;1.000000;1.000000;;
   8.000000;
   0.000000;0.000000;0.000000;;
   0.000000;0.200000;0.000000;;
   TextureFilename { "C:\\art\\sky.png"; }
  }
 }
}
)";
