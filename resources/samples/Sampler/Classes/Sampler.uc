//=============================================================================
// Sampler: a ring spinning around a pulsing core, the MOK sample mesh.
//=============================================================================
class Sampler extends Decoration;

#exec MESH IMPORT MESH=Sampler ANIVFILE=Models\Sampler_a.3d DATAFILE=Models\Sampler_d.3d X=0 Y=0 Z=0
#exec MESH ORIGIN MESH=Sampler X=0 Y=0 Z=0
#exec MESH SEQUENCE MESH=Sampler SEQ=All STARTFRAME=0 NUMFRAMES=24
#exec MESHMAP NEW MESHMAP=Sampler MESH=Sampler
#exec MESHMAP SCALE MESHMAP=Sampler X=0.1 Y=0.1 Z=0.2
#exec TEXTURE IMPORT NAME=SamplerRing FILE=Models\Sampler_ring.pcx GROUP=Skins
#exec TEXTURE IMPORT NAME=SamplerCore FILE=Models\Sampler_core.tga GROUP=Skins
#exec MESHMAP SETTEXTURE MESHMAP=Sampler NUM=0 TEXTURE=SamplerRing
#exec MESHMAP SETTEXTURE MESHMAP=Sampler NUM=1 TEXTURE=SamplerCore
