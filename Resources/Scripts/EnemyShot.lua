-- "InRange" of an enemy (GameObject is the enemy), raised as it fires at the player: it
-- beats its wings with every shot.
local wingsDown = {}

function main()
    if GetTransform(GameObject) == nil then
        return
    end
    wingsDown[GameObject] = not wingsDown[GameObject]
    ChangeSprite(GameObject, wingsDown[GameObject] and "EnemyWingsDown.png" or "Enemy.png")
end
