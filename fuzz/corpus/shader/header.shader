models/x/body
{
  implicitMask -
  polygonOffset
  deformVertexes autosprite
  {
    clampmap models/x/body.tga // comment
    tcGen environment
    tcMod rotate 30
    blendFunc GL_DST_COLOR GL_ONE_MINUS_SRC_ALPHA
  }
}
models/x/head {
}
