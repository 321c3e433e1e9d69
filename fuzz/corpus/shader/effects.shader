models/a/glow
{
	deformVertexes wave 64 sin 0 2 0 0.5
	deformVertexes move 0 0 3 triangle 0 1 0.5 0.25
	deformVertexes autoSprite2
	sort additive
	{
		map models/a/glow.tga
		blendFunc GL_SRC_ALPHA_SATURATE GL_ONE_MINUS_DST_ALPHA
		rgbGen wave noise 0.5 0.5 0 2
		alphaGen lightingSpecular
		tcGen vector ( 0.01 0 0 ) ( 0 0.01 0 )
		tcMod stretch inversesawtooth 1 0.2 0 1
		tcMod transform 1 0 0 1 0.5 0.5
		tcMod turb 0 0.1 0 0.5
		depthFunc equal
		depthWrite
	}
	{
		map models/a/env.tga
		tcGen environment
		rgbGen const ( 0.5 1 0.25 )
		alphaGen portal 512
	}
}
