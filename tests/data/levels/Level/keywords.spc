SOMETHING ignored
ELEMENT
memory
  wall.til
 0 0
 0 0 0
  door x y
ELEMENT
gone
  nope.til
 0 0
 5 5 0
  
ELEMENT
memory2
  anim.anm
 1 0
 10 0 0
  ladder
