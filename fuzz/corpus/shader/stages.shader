textures/a/b
{
	cull none
	qer_alphafunc gequal 0.5
	surfaceparm sky
	{
		animMap 8 textures/a/b1.tga textures/a/b2.tga
		blendFunc GL_ONE GL_ONE
		tcMod scroll 0.5 -1
	}
	{
		map $lightmap
		blendfunc filter
		alphaFunc GE128
	}
}
