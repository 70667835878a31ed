-- "OnCollision" of an enemy bullet (GameObject is the bullet), queued twice per contact: a
-- bullet that touches the player knocks the player back and is gone. The touch of the enemy
-- that fired it does not count, so a bullet leaves its enemy; the second call finds the
-- bullet gone.
local Knock = 350  -- sideways speed a hit gives the player

function main()
    local id = GetPlayerID()
    if GetTransform(GameObject) == nil or not Touching(GameObject, id) then
        return
    end
    local player = GetController(id)
    local bullet = GetController(GameObject)
    if player ~= nil and bullet ~= nil and not player.isDead and not player.godMode and not player.airSkillActive then
        player.x_vel = bullet.x_vel >= 0 and Knock or -Knock
        PlaySoundEvent("Player_Earth_Punch")
    end
    Destroy(GameObject)
end
